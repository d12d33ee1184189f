// SPDX-License-Identifier: MIT
// The window as the computation's field access: exact texts, change
// procedures raised synchronously and only on a real change, and widgets
// that follow the kept texts.
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "tests/ui/form_fixture.h"

using fibmod::Text1;
using fibmod::Text2;
using fibmod::Text3;
using fibmod::Text4;

namespace {

class FieldAccessTest : public FormTest {
protected:
    QString shown(const char* name) { return control<QPlainTextEdit>(QString::fromUtf8(name))->toPlainText(); }
};

// The outputs of the design-time inputs for M = 3.
const std::string kCycle2ForThree = Joined({" 0", " 2", " 2", " 0", " 1", " 1"});
const std::string kCycle1ForThree = Joined({" 2", " 2", " 1", " 1"});

} // namespace

TEST_F(FieldAccessTest, ReadsBackTheExactTextWithCarriageReturns)
{
    form.setText(Text1(6), "a\r\nb\r\n");
    EXPECT_EQ(form.getText(Text1(6)), "a\r\nb\r\n");
    form.appendText(Text1(6), "c\r\n");
    EXPECT_EQ(form.getText(Text1(6)), "a\r\nb\r\nc\r\n");
    form.setText(Text3(0), "x\r\n");
    EXPECT_EQ(form.getText(Text3(0)), "x\r\n");
}

TEST_F(FieldAccessTest, UnicodeSurvivesTheRoundTrip)
{
    form.setText(Text1(6), "Zykellänge\r\n");
    form.refreshWidgets();
    EXPECT_EQ(shown("Text1(6)"), QStringLiteral("Zykellänge\n"));
    EXPECT_EQ(form.getText(Text1(6)), "Zykellänge\r\n");
}

TEST_F(FieldAccessTest, WidgetsShowLineEndsAsOneBreakAfterARefresh)
{
    form.appendText(Text1(0), " 1\r\n");
    form.appendText(Text1(0), " 2\r\n");
    EXPECT_EQ(shown("Text1(0)"), QString()) << "refreshed per line";
    form.refreshWidgets();
    EXPECT_EQ(shown("Text1(0)"), QStringLiteral(" 1\n 2\n"));
    // Only the tail is new; a line end split over two appends still shows once.
    form.appendText(Text1(0), " 3\r");
    form.refreshWidgets();
    form.appendText(Text1(0), "\n 4\r\n");
    form.refreshWidgets();
    EXPECT_EQ(shown("Text1(0)"), QStringLiteral(" 1\n 2\n 3\n 4\n"));
    // A shorter replacement is set in full.
    form.setText(Text1(0), " 9\r\n");
    form.refreshWidgets();
    EXPECT_EQ(shown("Text1(0)"), QStringLiteral(" 9\n"));
}

TEST_F(FieldAccessTest, ReturningToTheEventLoopRefreshesAWriteMadeOutsideAnyProcedure)
{
    form.setText(Text3(2), "7");
    QCoreApplication::processEvents();
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Text3(2)"))->text(), u"7");
}

TEST_F(FieldAccessTest, UserEditsUpdateTheKeptTextWithCrLf)
{
    auto* common = control<QPlainTextEdit>(QStringLiteral("Text1(6)"));
    QTest::keyClicks(common, "p");
    QTest::keyClick(common, Qt::Key_Return);
    QTest::keyClicks(common, "q");
    EXPECT_EQ(form.getText(Text1(6)), "p\r\nq");
    auto* start = control<QLineEdit>(QStringLiteral("Text1(4)"));
    start->selectAll();
    QTest::keyClicks(start, "17");
    EXPECT_EQ(form.getText(Text1(4)), "17");
}

TEST_F(FieldAccessTest, AUserEditAppliesToTheWholeKeptTextEvenBeforeARefresh)
{
    // Written from code outside any procedure: the box is not refreshed yet.
    form.setText(Text1(6), " 1\r\n 2\r\n");
    auto* common = control<QPlainTextEdit>(QStringLiteral("Text1(6)"));
    QTest::keyClicks(common, "x");
    EXPECT_EQ(form.getText(Text1(6)), "x 1\r\n 2\r\n");
}

TEST_F(FieldAccessTest, WritingTheModulusRecomputesBeforeTheWriteReturns)
{
    form.setText(Text2, "3");
    EXPECT_EQ(form.getText(Text1(0)), kCycle2ForThree);
    EXPECT_EQ(form.getText(Text1(1)), kCycle1ForThree);
    EXPECT_EQ(form.getText(Text3(1)), "6");
    EXPECT_EQ(form.getText(Text3(0)), "4");
    EXPECT_EQ(form.getText(Text3(2)), "2");
}

TEST_F(FieldAccessTest, WritingTheSameModulusAgainRaisesNothing)
{
    form.setText(Text2, "3");
    form.setText(Text1(0), "");
    form.setText(Text2, "3");
    EXPECT_EQ(form.getText(Text1(0)), "");
}

TEST_F(FieldAccessTest, AppendingToTheModulusRecomputesAsWritingItDoes)
{
    form.appendText(Text2, "0");
    EXPECT_EQ(form.getText(Text2), "20");
    EXPECT_EQ(OutputsOf(form), HeadlessOutputs(form, 20));
}

TEST_F(FieldAccessTest, WidgetsFollowALongRunWhileItGoesOn)
{
    // Every turn of the event loop refreshes, and turns come by count, not by
    // the clock; the listing of r = s = 1 modulo 625 has 2500 lines.
    form.setRefreshInterval(std::chrono::milliseconds(0));
    form.setTurnInterval(std::chrono::milliseconds(0));
    setBothSequences("1", "1", "1", "1");
    int turns = 0;
    std::string shownMidway;
    std::string keptMidway;
    std::function<void()> look = [&] {
        if (++turns < 10) {
            duringNextHandOver(look);
            return;
        }
        shownMidway = ShownAsKept(control(QStringLiteral("Text1(0)")));
        keptMidway = text(Text1(0));
    };
    duringNextHandOver(look);
    scrollTo(625);
    EXPECT_EQ(turns, 10);
    EXPECT_GT(LineCount(keptMidway), 0u);
    EXPECT_LT(LineCount(keptMidway), 2500u);
    EXPECT_EQ(shownMidway, keptMidway);
}

TEST_F(FieldAccessTest, OtherBoxesRaiseNoProcedure)
{
    form.setText(Text4(1), "5");
    form.setText(Text1(6), "x");
    EXPECT_EQ(form.getText(Text1(0)), "");
    EXPECT_EQ(form.getText(Text3(2)), "");
}

TEST_F(FieldAccessTest, TypingIntoTheModulusRaisesTheSameProcedure)
{
    auto* modulus = control<QLineEdit>(QStringLiteral("Text2"));
    modulus->selectAll();
    QTest::keyClicks(modulus, "3");
    EXPECT_EQ(form.getText(Text2), "3");
    EXPECT_EQ(form.getText(Text1(0)), kCycle2ForThree);
    EXPECT_EQ(form.getText(Text3(2)), "2");
    EXPECT_EQ(form.getScrollValue(), 2) << "a typed modulus leaves the scroll bar";
}

TEST_F(FieldAccessTest, SettingTheScrollValueWritesTheModulusAndRecomputes)
{
    form.setScrollValue(3);
    EXPECT_EQ(form.getScrollValue(), 3);
    EXPECT_EQ(form.getText(Text2), "3");
    EXPECT_EQ(form.getText(Text1(0)), kCycle2ForThree);
    form.setText(Text1(0), "");
    form.setScrollValue(3);
    EXPECT_EQ(form.getText(Text1(0)), "") << "an unchanged value raised the change";
}

TEST_F(FieldAccessTest, MovingTheScrollBarRaisesTheSameProcedure)
{
    control<QScrollBar>(QStringLiteral("HScroll1"))->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(form.getText(Text2), "3");
    EXPECT_EQ(form.getText(Text1(1)), kCycle1ForThree);
}

TEST_F(FieldAccessTest, WidgetsShowTheResultsWhenAProcedureReturns)
{
    form.setText(Text2, "3");
    control<QPushButton>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(shown("Text1(0)"), QStringLiteral(" 0\n 2\n 2\n 0\n 1\n 1\n 0\n 2\n 2\n 0\n 1\n 1\n"));
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Text3(1)"))->text(), u"12");
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Text2"))->text(), u"3");
}

TEST_F(FieldAccessTest, MessagesGoToTheHook)
{
    form.showMessage("Begrenzung: Modul m < 2000");
    EXPECT_EQ(messages, QStringList{QStringLiteral("Begrenzung: Modul m < 2000")});
}
