// SPDX-License-Identifier: MIT
// Pastes into every kind of box: with nothing on the clipboard they change
// nothing, and a paste of any size is kept whole.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>

#include <cctype>
#include <memory>

#include "tests/ui/form_fixture.h"
#include "ui/listing_box.h"

namespace fibmod::testing {
namespace {

// The three listings and one single-line box of each colour.
const char* const kBoxes[] = {"Text1(0)", "Text1(1)", "Text1(6)", "Text1(2)", "Text4(3)", "Text3(2)", "Text2"};

class PasteTest : public FormTest, public ::testing::WithParamInterface<const char*> {
protected:
    PasteTest() { form.setText(kCommonMembersField, "a\r\nb\r\n"); }
    ~PasteTest() override { QGuiApplication::clipboard()->clear(); }

    QWidget* box() { return control(QString::fromUtf8(GetParam())); }
    std::string kept() { return text(FieldOf(GetParam())); }

    static FieldId FieldOf(const std::string& name)
    {
        if (name == "Text2") return Text2;
        const int index = name[6] - '0';
        switch (name[4]) {
        case '1': return Text1(index);
        case '3': return Text3(index);
        default: return Text4(index);
        }
    }

    // Triggers the paste entry of the box's own context menu, as a click on
    // it does, even when the menu had it greyed out.
    void pasteFromContextMenu()
    {
        std::unique_ptr<QMenu> menu;
        if (auto* line = qobject_cast<QLineEdit*>(box()))
            menu.reset(line->createStandardContextMenu());
        else
            menu.reset(qobject_cast<QPlainTextEdit*>(box())->createStandardContextMenu());
        QAction* paste = nullptr;
        for (QAction* action : menu->actions())
            if (action->text().startsWith(u"&Paste")) paste = action;
        ASSERT_NE(paste, nullptr);
        paste->setEnabled(true);
        paste->trigger();
    }
};

TEST_P(PasteTest, WithAnEmptyClipboardEveryPasteChangesNothing)
{
    QGuiApplication::clipboard()->clear();
    form.refreshWidgets();
    const std::string before = kept();
    box()->setFocus();
    QTest::keyClick(box(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box(), Qt::Key_Insert, Qt::ShiftModifier);
    pasteFromContextMenu();
    EXPECT_EQ(kept(), before);
    EXPECT_EQ(ShownAsKept(box()), before);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_P(PasteTest, AMegabyteOfDigitsIsKeptWhole)
{
    const QString digits(1 << 20, u'7');
    QGuiApplication::clipboard()->setText(digits);
    form.refreshWidgets();
    const std::string before = kept();
    box()->setFocus();
    QTest::keyClick(box(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(box(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(kept(), before + digits.toStdString());
    form.refreshWidgets();
    EXPECT_EQ(ShownAsKept(box()), kept());
    // Into the modulus the paste makes a number beyond the double range.
    EXPECT_EQ(messages.size(), GetParam() == std::string("Text2") ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Boxes, PasteTest, ::testing::ValuesIn(kBoxes), ControlCaseName);

// What a drop or a paste hands over when the clipboard has nothing to give.
class ExposedListingBox : public ui::ListingBox {
public:
    ExposedListingBox() : ListingBox(nullptr, Qt::AlignRight) {}
    using ListingBox::canInsertFromMimeData;
    using ListingBox::insertFromMimeData;
};

TEST(ListingBox, MissingOrFormatlessMimeDataIsRefusedAndInsertsNothing)
{
    ExposedListingBox box;
    box.setPlainText(QStringLiteral("1\n2"));
    box.moveCursor(QTextCursor::End);
    EXPECT_FALSE(box.canInsertFromMimeData(nullptr));
    box.insertFromMimeData(nullptr);
    // What X11 hands out once the clipboard's owner has quit.
    const QMimeData formatless;
    EXPECT_FALSE(box.canInsertFromMimeData(&formatless));
    box.insertFromMimeData(&formatless);
    EXPECT_EQ(box.toPlainText(), QStringLiteral("1\n2"));
    QMimeData digits;
    digits.setText(QStringLiteral("34"));
    EXPECT_TRUE(box.canInsertFromMimeData(&digits));
    box.insertFromMimeData(&digits);
    EXPECT_EQ(box.toPlainText(), QStringLiteral("1\n234"));
}

} // namespace
} // namespace fibmod::testing
