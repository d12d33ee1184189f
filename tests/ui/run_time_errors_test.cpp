// SPDX-License-Identifier: MIT
// Run-time errors on the real window: reported once, then the program goes on.
#include <gmock/gmock.h>

#include "tests/ui/form_fixture.h"

namespace fibmod::testing {
namespace {

using ::testing::SizeIs;

using RunTimeErrorTest = FormTest;

// The action a slider repeats while it is held, SliderNoAction when none;
// Qt keeps the getter protected.
struct RepeatingActionOf : QAbstractSlider {
    using QAbstractSlider::repeatAction;
};
QAbstractSlider::SliderAction RepeatingAction(const QAbstractSlider& slider)
{
    return (slider.*&RepeatingActionOf::repeatAction)();
}

// A point inside the right arrow of a horizontal scroll bar, whatever the style.
QPoint RightArrowOf(const QScrollBar& bar) { return {bar.width() - 4, bar.height() / 2}; }

TEST_F(RunTimeErrorTest, AClickOnTheScrollArrowThatOverflowsStepsOnceAndShowsOneBox)
{
    form.show();
    auto* start = control<QLineEdit>(QStringLiteral("Text1(3)"));
    start->selectAll();
    QTest::keyClicks(start, "8E+343");
    auto* bar = control<QScrollBar>(QStringLiteral("HScroll1"));

    // The box opens inside the press, where a person's release would reach
    // the box instead of the arrow.
    QTest::mousePress(bar, Qt::LeftButton, {}, RightArrowOf(*bar));
    EXPECT_EQ(messages, QStringList{QStringLiteral("Laufzeitfehler 6: Überlauf")});
    EXPECT_EQ(bar->value(), 3);
    // Nothing holds the arrow any more, so it takes no further steps.
    EXPECT_EQ(RepeatingAction(*bar), QAbstractSlider::SliderNoAction);

    QTest::mouseRelease(bar, Qt::LeftButton, {}, RightArrowOf(*bar));
    EXPECT_EQ(bar->value(), 3);
    EXPECT_EQ(text(kModulusField), "3");
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(RunTimeErrorTest, AClickOnTheScrollArrowStepsOnce)
{
    form.show();
    auto* bar = control<QScrollBar>(QStringLiteral("HScroll1"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, RightArrowOf(*bar));
    EXPECT_EQ(bar->value(), 3);
    EXPECT_EQ(OutputsOf(form), HeadlessOutputs(form, 3));
    EXPECT_THAT(messages, ::testing::IsEmpty());
}

TEST_F(RunTimeErrorTest, ACycleBeyond3000TermsIsReportedOnceAndTheWindowGoesOn)
{
    // r = s = 1 from 1, 1 modulo 1250 has a cycle of 7500 terms.
    form.setText(kSequence1Fields.r, "1");
    form.setText(kSequence1Fields.s, "1");
    scrollTo(3);
    scrollTo(1250);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("9")) << messages[0].toStdString();
    EXPECT_EQ(LineCount(text(kSequence1Fields.listing)), 3000u);
    EXPECT_EQ(text(kSequence1Fields.length), HeadlessOutputs(form, 3).length1);

    scrollTo(5);
    EXPECT_EQ(OutputsOf(form), HeadlessOutputs(form, 5));
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(RunTimeErrorTest, ANumberBeyondTheDoubleRangeIsReportedOnce)
{
    form.setText(kSequence2Fields.r, "1e400");
    scrollTo(3);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("6")) << messages[0].toStdString();

    form.setText(kSequence2Fields.r, "4");
    scrollTo(4);
    EXPECT_EQ(OutputsOf(form), HeadlessOutputs(form, 4));
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(RunTimeErrorTest, AnErrorInANestedHandlerEndsTheSearchAroundIt)
{
    duringNextHandOver([this] {
        form.setText(kSequence2Fields.r, "1e400");
        scrollTo(9);
    });
    click("Command4");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("6"));
    EXPECT_EQ(scrollValue(), 9);
    EXPECT_EQ(text(kModulusField), "9");
    EXPECT_EQ(text(kSequence2Fields.listing), "");
}

using InterruptedRunTest = FormTest;

TEST_F(InterruptedRunTest, AScrollMoveDuringALongListingLeavesOnlyTheLatestRun)
{
    setBothSequences("1", "1", "1", "1");
    duringNextHandOver([this] { scrollTo(5); });
    scrollTo(625);
    EXPECT_EQ(text(kModulusField), "5");
    EXPECT_EQ(OutputsOf(form), HeadlessOutputs(form, 5));
}

TEST_F(InterruptedRunTest, ClsDuringALongListingLeavesTheListingsEmpty)
{
    form.setText(kSequence1Fields.r, "1");
    form.setText(kSequence1Fields.s, "1");
    scrollTo(3);
    const Outputs before = OutputsOf(form);
    duringNextHandOver([this] { click("Command3"); });
    scrollTo(625);
    EXPECT_EQ(text(kSequence2Fields.listing), "");
    EXPECT_EQ(text(kSequence1Fields.listing), "");
    EXPECT_EQ(text(kCommonMembersField), "");
    EXPECT_EQ(text(kSequence1Fields.length), before.length1);
    EXPECT_EQ(text(kCommonCountField), before.count);
    EXPECT_THAT(messages, SizeIs(0));
}

} // namespace
} // namespace fibmod::testing
