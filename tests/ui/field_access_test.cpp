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

using fibmod::kCommonCountField;
using fibmod::kCommonMembersField;
using fibmod::kModulusField;
using fibmod::kSequence1Fields;
using fibmod::kSequence2Fields;

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
    form.setText(kCommonMembersField, "a\r\nb\r\n");
    EXPECT_EQ(form.getText(kCommonMembersField), "a\r\nb\r\n");
    form.appendText(kCommonMembersField, "c\r\n");
    EXPECT_EQ(form.getText(kCommonMembersField), "a\r\nb\r\nc\r\n");
    form.setText(kSequence1Fields.length, "x\r\n");
    EXPECT_EQ(form.getText(kSequence1Fields.length), "x\r\n");
}

TEST_F(FieldAccessTest, UnicodeSurvivesTheRoundTrip)
{
    form.setText(kCommonMembersField, "Zykellänge\r\n");
    form.refreshWidgets();
    EXPECT_EQ(shown("Text1(6)"), QStringLiteral("Zykellänge\n"));
    EXPECT_EQ(form.getText(kCommonMembersField), "Zykellänge\r\n");
}

TEST_F(FieldAccessTest, WidgetsShowLineEndsAsOneBreakAfterARefresh)
{
    form.appendText(kSequence2Fields.listing, " 1\r\n");
    form.appendText(kSequence2Fields.listing, " 2\r\n");
    EXPECT_EQ(shown("Text1(0)"), QString()) << "refreshed per line";
    form.refreshWidgets();
    EXPECT_EQ(shown("Text1(0)"), QStringLiteral(" 1\n 2\n"));
    // Only the tail is new; a line end split over two appends still shows once.
    form.appendText(kSequence2Fields.listing, " 3\r");
    form.refreshWidgets();
    form.appendText(kSequence2Fields.listing, "\n 4\r\n");
    form.refreshWidgets();
    EXPECT_EQ(shown("Text1(0)"), QStringLiteral(" 1\n 2\n 3\n 4\n"));
    // A shorter replacement is set in full.
    form.setText(kSequence2Fields.listing, " 9\r\n");
    form.refreshWidgets();
    EXPECT_EQ(shown("Text1(0)"), QStringLiteral(" 9\n"));
}

TEST_F(FieldAccessTest, AListingClearedAfterARunShowsNothing)
{
    // Long enough to be kept on the heap, then emptied as "cls" does.
    form.setText(kSequence1Fields.listing, " 1\r\n 12\r\n 123\r\n 1234\r\n 12345\r\n");
    form.refreshWidgets();
    form.setText(kSequence1Fields.listing, "");
    form.refreshWidgets();
    EXPECT_EQ(shown("Text1(1)"), QString());
    form.appendText(kSequence1Fields.listing, " 7\r\n");
    form.refreshWidgets();
    EXPECT_EQ(shown("Text1(1)"), QStringLiteral(" 7\n"));
}

TEST_F(FieldAccessTest, ReturningToTheEventLoopRefreshesAWriteMadeOutsideAnyProcedure)
{
    form.setText(kCommonCountField, "7");
    QCoreApplication::processEvents();
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Text3(2)"))->text(), u"7");
}

TEST_F(FieldAccessTest, UserEditsUpdateTheKeptTextWithCrLf)
{
    auto* common = control<QPlainTextEdit>(QStringLiteral("Text1(6)"));
    QTest::keyClicks(common, "p");
    QTest::keyClick(common, Qt::Key_Return);
    QTest::keyClicks(common, "q");
    EXPECT_EQ(form.getText(kCommonMembersField), "p\r\nq");
    auto* start = control<QLineEdit>(QStringLiteral("Text1(4)"));
    start->selectAll();
    QTest::keyClicks(start, "17");
    EXPECT_EQ(form.getText(kSequence1Fields.first), "17");
}

TEST_F(FieldAccessTest, AUserEditAppliesToTheWholeKeptTextEvenBeforeARefresh)
{
    // Written from code outside any procedure: the box is not refreshed yet.
    form.setText(kCommonMembersField, " 1\r\n 2\r\n");
    auto* common = control<QPlainTextEdit>(QStringLiteral("Text1(6)"));
    QTest::keyClicks(common, "x");
    EXPECT_EQ(form.getText(kCommonMembersField), "x 1\r\n 2\r\n");
}

TEST_F(FieldAccessTest, WritingTheModulusRecomputesBeforeTheWriteReturns)
{
    form.setText(kModulusField, "3");
    EXPECT_EQ(form.getText(kSequence2Fields.listing), kCycle2ForThree);
    EXPECT_EQ(form.getText(kSequence1Fields.listing), kCycle1ForThree);
    EXPECT_EQ(form.getText(kSequence2Fields.length), "6");
    EXPECT_EQ(form.getText(kSequence1Fields.length), "4");
    EXPECT_EQ(form.getText(kCommonCountField), "2");
}

TEST_F(FieldAccessTest, WritingTheSameModulusAgainRaisesNothing)
{
    form.setText(kModulusField, "3");
    form.setText(kSequence2Fields.listing, "");
    form.setText(kModulusField, "3");
    EXPECT_EQ(form.getText(kSequence2Fields.listing), "");
}

TEST_F(FieldAccessTest, AppendingToTheModulusRecomputesAsWritingItDoes)
{
    form.appendText(kModulusField, "0");
    EXPECT_EQ(form.getText(kModulusField), "20");
    EXPECT_EQ(OutputsOf(form), HeadlessOutputs(form, 20));
}

// Every turn of the event loop refreshes, and turns come by count, not by
// the clock.
class PacedByCountTest : public FormTest {
protected:
    PacedByCountTest() : FormTest({.refresh = std::chrono::milliseconds(0), .turn = std::chrono::milliseconds(0)}) {}
};

TEST_F(PacedByCountTest, WidgetsFollowALongRunWhileItGoesOn)
{
    // The listing of r = s = 1 modulo 625 has 2500 lines.
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
        keptMidway = text(kSequence2Fields.listing);
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
    form.setText(kSequence1Fields.r, "5");
    form.setText(kCommonMembersField, "x");
    EXPECT_EQ(form.getText(kSequence2Fields.listing), "");
    EXPECT_EQ(form.getText(kCommonCountField), "");
}

TEST_F(FieldAccessTest, TypingIntoTheModulusRaisesTheSameProcedure)
{
    auto* modulus = control<QLineEdit>(QStringLiteral("Text2"));
    modulus->selectAll();
    QTest::keyClicks(modulus, "3");
    EXPECT_EQ(form.getText(kModulusField), "3");
    EXPECT_EQ(form.getText(kSequence2Fields.listing), kCycle2ForThree);
    EXPECT_EQ(form.getText(kCommonCountField), "2");
    EXPECT_EQ(form.getScrollValue(), 2) << "a typed modulus leaves the scroll bar";
}

TEST_F(FieldAccessTest, SettingTheScrollValueWritesTheModulusAndRecomputes)
{
    form.setScrollValue(3);
    EXPECT_EQ(form.getScrollValue(), 3);
    EXPECT_EQ(form.getText(kModulusField), "3");
    EXPECT_EQ(form.getText(kSequence2Fields.listing), kCycle2ForThree);
    form.setText(kSequence2Fields.listing, "");
    form.setScrollValue(3);
    EXPECT_EQ(form.getText(kSequence2Fields.listing), "") << "an unchanged value raised the change";
}

TEST_F(FieldAccessTest, MovingTheScrollBarRaisesTheSameProcedure)
{
    control<QScrollBar>(QStringLiteral("HScroll1"))->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(form.getText(kModulusField), "3");
    EXPECT_EQ(form.getText(kSequence1Fields.listing), kCycle1ForThree);
}

TEST_F(FieldAccessTest, WidgetsShowTheResultsWhenAProcedureReturns)
{
    form.setText(kModulusField, "3");
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
