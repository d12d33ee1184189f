// SPDX-License-Identifier: MIT
// Run-time errors on the real window: reported once, then the program goes on.
#include <gmock/gmock.h>

#include "tests/ui/form_fixture.h"

namespace fibmod::testing {
namespace {

using ::testing::SizeIs;

using RunTimeErrorTest = FormTest;

TEST_F(RunTimeErrorTest, ACycleBeyond3000TermsIsReportedOnceAndTheWindowGoesOn)
{
    // r = s = 1 from 1, 1 modulo 1250 has a cycle of 7500 terms.
    form.setText(Text4(1), "1");
    form.setText(Text4(0), "1");
    scrollTo(3);
    scrollTo(1250);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("9")) << messages[0].toStdString();
    EXPECT_EQ(LineCount(text(Text1(1))), 3000u);
    EXPECT_EQ(text(Text3(0)), HeadlessOutputs(form, 3).length1);

    scrollTo(5);
    EXPECT_EQ(OutputsOf(form), HeadlessOutputs(form, 5));
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(RunTimeErrorTest, ANumberBeyondTheDoubleRangeIsReportedOnce)
{
    form.setText(Text4(3), "1e400");
    scrollTo(3);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("6")) << messages[0].toStdString();

    form.setText(Text4(3), "4");
    scrollTo(4);
    EXPECT_EQ(OutputsOf(form), HeadlessOutputs(form, 4));
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(RunTimeErrorTest, AnErrorInANestedHandlerEndsTheSearchAroundIt)
{
    duringNextHandOver([this] {
        form.setText(Text4(3), "1e400");
        scrollTo(9);
    });
    click("Command4");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("6"));
    EXPECT_EQ(scrollValue(), 9);
    EXPECT_EQ(text(Text2), "9");
    EXPECT_EQ(text(Text1(0)), "");
}

using InterruptedRunTest = FormTest;

TEST_F(InterruptedRunTest, AScrollMoveDuringALongListingLeavesOnlyTheLatestRun)
{
    setBothSequences("1", "1", "1", "1");
    duringNextHandOver([this] { scrollTo(5); });
    scrollTo(625);
    EXPECT_EQ(text(Text2), "5");
    EXPECT_EQ(OutputsOf(form), HeadlessOutputs(form, 5));
}

TEST_F(InterruptedRunTest, ClsDuringALongListingLeavesTheListingsEmpty)
{
    form.setText(Text4(1), "1");
    form.setText(Text4(0), "1");
    scrollTo(3);
    const Outputs before = OutputsOf(form);
    duringNextHandOver([this] { click("Command3"); });
    scrollTo(625);
    EXPECT_EQ(text(Text1(0)), "");
    EXPECT_EQ(text(Text1(1)), "");
    EXPECT_EQ(text(Text1(6)), "");
    EXPECT_EQ(text(Text3(0)), before.length1);
    EXPECT_EQ(text(Text3(2)), before.count);
    EXPECT_THAT(messages, SizeIs(0));
}

} // namespace
} // namespace fibmod::testing
