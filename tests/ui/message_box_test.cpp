// SPDX-License-Identifier: MIT
// One message box at a time: while it is open, nothing else of the window
// runs, and input that reached the window meanwhile is not acted on.
#include <algorithm>

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gmock/gmock.h>

#include "tests/ui/form_fixture.h"

namespace fibmod::testing {
namespace {

using ::testing::ElementsAre;

const QString kLimit = QStringLiteral("Begrenzung: Modul m < 2000");

class MessageBoxTest : public FormTest {
protected:
    // Every control a user can reach, except "ende", used as fast as input comes.
    void useEveryControl()
    {
        for (const char* button : {"Command1", "Command3", "Command4"}) click(button);
        auto* scroll = control<QScrollBar>(QStringLiteral("HScroll1"));
        scroll->triggerAction(QAbstractSlider::SliderSingleStepSub);
        scroll->triggerAction(QAbstractSlider::SliderToMinimum);
        typeModulus("17");
        QTest::keyClicks(control<QLineEdit>(QStringLiteral("Text1(2)")), "5");
        QTest::keyClicks(control<QPlainTextEdit>(QStringLiteral("Text1(0)")), "9");
    }

    // Every box's widget shows the kept text.
    void expectWidgetsShowTheKeptTexts()
    {
        form.refreshWidgets();
        for (const char* name : {"Text1(0)", "Text1(1)", "Text1(6)", "Text1(2)", "Text2"}) {
            const QString box = QString::fromUtf8(name);
            EXPECT_EQ(ShownAsKept(control(box)), Kept(box)) << name;
        }
    }

    std::string Kept(const QString& name)
    {
        if (name == u"Text2") return text(kModulusField);
        return text(Text1(name.at(6).digitValue()));
    }
};

TEST_F(MessageBoxTest, InputWhileABoxIsOpenIsNotActedOn)
{
    scrollTo(2000);
    const Outputs before = OutputsOf(form);
    onMessage = [this](const QString&) { useEveryControl(); };
    click("Command4");
    EXPECT_THAT(messages, ElementsAre(kLimit));
    EXPECT_EQ(scrollValue(), 2000);
    EXPECT_EQ(text(kModulusField), "2000");
    EXPECT_EQ(text(kSequence2Fields.first), "1");
    EXPECT_EQ(OutputsOf(form), before);
    expectWidgetsShowTheKeptTexts();
}

TEST_F(MessageBoxTest, RapidPressesDuringALongRunNeverStackBoxes)
{
    // The presses arrive during a long run; the first that finds the limit
    // opens a box, the others are delivered by the box's own event loop.
    setBothSequences("1", "1", "1", "1");
    duringNextHandOver([this] {
        scrollTo(1999);
        for (int press = 0; press < 3; ++press) {
            duringNextHandOver([this] { click("Command4"); });
            duringNextHandOver([this] { click("Command1"); });
        }
    });
    int open = 0;
    int mostOpen = 0;
    onMessage = [&](const QString&) {
        mostOpen = std::max(mostOpen, ++open);
        QCoreApplication::processEvents();
        --open;
    };
    scrollTo(625);
    QCoreApplication::processEvents();
    EXPECT_EQ(mostOpen, 1);
    EXPECT_THAT(messages, ::testing::Each(kLimit));
    EXPECT_EQ(scrollValue(), 2000);
    expectWidgetsShowTheKeptTexts();
}

TEST_F(MessageBoxTest, AnErrorArrivingWhileABoxIsOpenOpensNoSecondBox)
{
    // r = s = 1 modulo 1250 is error 9; the move arrives while the limit's box is open.
    setBothSequences("1", "1", "1", "1");
    scrollTo(2000);
    onMessage = [this](const QString&) { scrollTo(1250); };
    click("Command4");
    EXPECT_THAT(messages, ElementsAre(kLimit));
    EXPECT_EQ(scrollValue(), 2000);
    // Afterwards the window takes input again.
    scrollTo(1250);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains(u'9'));
}

} // namespace
} // namespace fibmod::testing
