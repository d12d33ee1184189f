// SPDX-License-Identifier: MIT
// The window's hooks for the overview: F2, the background's menu and the
// signal of a changed input.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "tests/ui/form_fixture.h"

namespace {

const QString kMenuText = QStringLiteral("Übersicht aller Moduln …  F2");

class OverviewHooksTest : public FormTest {
protected:
    OverviewHooksTest() { form.show(); }

    // A right click at `pos` of `widget`, delivered as Qt delivers it.
    void rightClick(QWidget* widget, QPoint pos)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
        QApplication::sendEvent(widget, &event);
    }

    // The menu now open, with its actions' texts, or nothing.
    QMenu* openMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

    void closeMenu()
    {
        if (QMenu* menu = openMenu()) menu->close();
    }

    QSignalSpy requested{&form, &Form1::overviewRequested};
    QSignalSpy inputs{&form, &Form1::inputChanged};
};

TEST_F(OverviewHooksTest, F2AsksForTheOverviewFromAnyControl)
{
    // Shortcuts reach only the active window.
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form, 20000));
    QTest::keyClick(control<QLineEdit>(QStringLiteral("Text2")), Qt::Key_F2);
    QTest::keyClick(control(QStringLiteral("Text1(0)")), Qt::Key_F2);
    EXPECT_EQ(requested.count(), 2);
    EXPECT_EQ(text(fibmod::kModulusField), "2");
}

TEST_F(OverviewHooksTest, BackgroundMenuOffersTheOverview)
{
    // A free spot of the client area, below every control.
    const QPoint free(form.width() - 3, form.height() - 3);
    ASSERT_EQ(form.childAt(free), nullptr);
    rightClick(&form, free);
    QMenu* menu = openMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().front()->text(), kMenuText);
    menu->actions().front()->trigger();
    EXPECT_EQ(requested.count(), 1);
    closeMenu();
}

TEST_F(OverviewHooksTest, TextBoxesAndButtonsKeepTheirOwnMenus)
{
    for (const char* name : {"Text2", "Text1(0)", "Command1"}) {
        QWidget* widget = control(QString::fromLatin1(name));
        rightClick(widget, widget->rect().center());
        if (QMenu* menu = openMenu()) {
            for (QAction* action : menu->actions()) EXPECT_NE(action->text(), kMenuText) << name;
        }
        closeMenu();
    }
    EXPECT_EQ(requested.count(), 0);
}

TEST_F(OverviewHooksTest, InputChangesAreSignalledOutputChangesAreNot)
{
    typeModulus("5");
    const int afterTyping = inputs.count();
    EXPECT_GE(afterTyping, 1);
    form.setText(fibmod::kSequence1Fields.r, "7");
    EXPECT_EQ(inputs.count(), afterTyping + 1);
    form.setText(fibmod::kSequence1Fields.r, "7");
    EXPECT_EQ(inputs.count(), afterTyping + 1) << "an unchanged text is no change";
    scrollTo(9);
    EXPECT_EQ(inputs.count(), afterTyping + 2) << "the scroll bar writes the modulus";
    click("Command1");
    form.setText(fibmod::kCommonCountField, "x");
    EXPECT_EQ(inputs.count(), afterTyping + 2) << "outputs are no inputs";
}

} // namespace
