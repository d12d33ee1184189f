// SPDX-License-Identifier: MIT
// Places where the program deliberately behaves soundly: the end of a cycle
// compared by residues, residue 0 in the summary, the clamp of the modulus
// and runs that nest through the event hand-over.
#include <gmock/gmock.h>

#include "tests/support/computation_fixture.h"

namespace fibmod::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using CycleEndTest = ComputationTest;
using ResidueZeroTest = ComputationTest;
using ClampTest = ComputationTest;
using NestedRunTest = ComputationTest;

TEST_F(CycleEndTest, ANegativeStartValueMatchesItsResidue)
{
    fields.setText(Text1(3), "-1");
    fields.type(Text2, "7");
    EXPECT_THAT(lines(Text1(0)), ElementsAre(" 2", " 2", " 6", " 1", " 5", " 5", " 1", " 6"));
    EXPECT_EQ(text(Text3(1)), "8");
}

TEST_F(CycleEndTest, AStartValueAboveTheModulusIsComparedReduced)
{
    fields.setText(Text4(3), "1");
    fields.setText(Text4(2), "0");
    fields.setText(Text1(2), "8");
    fields.setText(Text1(3), "8");
    fields.type(Text2, "7");
    EXPECT_THAT(lines(Text1(0)), ElementsAre(" 1"));
    EXPECT_EQ(text(Text3(1)), "1");
}

TEST_F(CycleEndTest, WholeStartValuesBelowTheModulusKeepTheirCycles)
{
    fields.setText(Text1(4), "3");
    fields.setText(Text1(5), "0");
    fields.type(Text2, "7");
    // 6·0 − 3 = −3 ≡ 4, then 6·4 − 0 = 24 ≡ 3, then 6·3 − 4 = 14 ≡ 0: back at 3, 0.
    EXPECT_THAT(lines(Text1(1)), ElementsAre(" 4", " 3", " 0"));
    EXPECT_EQ(text(Text3(0)), "3");
}

TEST_F(ResidueZeroTest, IsListedAndCountedWhenCommon)
{
    SetBothSequences(fields, "0", "1", "0", "1");
    fields.type(Text2, "3");
    EXPECT_THAT(lines(Text1(6)), ElementsAre(" 0 bei  1 1", " 1 bei  2 2", "", "", "Zusammenfassung:", "gemeinsam sind",
                                             "die Reste", "", " 0", " 1"));
    EXPECT_EQ(text(Text3(2)), "2");
}

TEST_F(ResidueZeroTest, ItsFlagIsClearedByTheReset)
{
    SetBothSequences(fields, "0", "1", "0", "1");
    fields.type(Text2, "3");
    fields.setText(Text1(4), "1");
    fields.setText(Text1(5), "2");
    fields.type(Text2, "4");
    // Sequence 1 now alternates 1, 2; sequence 2 still 1, 0: only 1 is common.
    EXPECT_EQ(lastLine(Text1(6)), " 1");
    EXPECT_EQ(text(Text3(2)), "1");
}

TEST_F(ClampTest, AModulusAbove2000ShowsTheMessageOnceAndOneRun)
{
    fields.type(Text2, "2500");
    EXPECT_THAT(fields.messages, ElementsAre("Begrenzung: Modul m < 2000"));
    EXPECT_EQ(text(Text2), " 2000");
    EXPECT_EQ(st.M, 2000);
    EXPECT_EQ(fields.getScrollValue(), 2);

    const std::string listing2 = text(Text1(0));
    const std::string listing1 = text(Text1(1));
    const std::string common = text(Text1(6));
    const std::string count = text(Text3(2));
    fields.type(Text2, "2000");
    EXPECT_EQ(text(Text1(0)), listing2);
    EXPECT_EQ(text(Text1(1)), listing1);
    EXPECT_EQ(text(Text1(6)), common);
    EXPECT_EQ(text(Text3(2)), count);
}

TEST_F(ClampTest, TheRunStartsFromTheStartValuesAsTyped)
{
    fields.setText(Text1(2), "2003");
    fields.type(Text2, "3000");
    const std::string clamped = text(Text1(0));
    const std::string length = text(Text3(1));
    fields.type(Text2, "2000");
    EXPECT_EQ(text(Text1(0)), clamped);
    EXPECT_EQ(text(Text3(1)), length);
    EXPECT_THAT(fields.messages, ElementsAre("Begrenzung: Modul m < 2000"));
}

TEST_F(NestedRunTest, AResetDuringARunSupersedesIt)
{
    fields.onPump = [&](long n) {
        if (n == 3) ResetAndTakeOver(st, fields);
    };
    fields.type(Text2, "3");
    EXPECT_EQ(text(Text1(0)), "");
    EXPECT_EQ(text(Text1(1)), "");
    EXPECT_EQ(text(Text1(6)), "");
    EXPECT_EQ(text(Text3(1)), "");
    EXPECT_EQ(fields.pumps, 3);
    EXPECT_FALSE(CountIsCurrent(st));
}

TEST_F(NestedRunTest, AScrollMoveDuringARunLeavesOnlyTheNewRun)
{
    fields.onPump = [&](long n) {
        if (n == 4) fields.setScrollValue(5);
    };
    fields.type(Text2, "3");
    EXPECT_EQ(text(Text2), "5");
    EXPECT_THAT(lines(Text1(0)), ElementsAre(" 3", " 1", " 1"));
    EXPECT_EQ(text(Text3(1)), "3");
    EXPECT_EQ(lastLine(Text1(6)), " 1");
    EXPECT_EQ(text(Text3(2)), "1");
    EXPECT_TRUE(CountIsCurrent(st));
}

TEST_F(NestedRunTest, ShowPressedDuringARunDoesNothing)
{
    fields.onPump = [&](long n) {
        if (n == 2) ShowCycles(st, fields);
    };
    fields.type(Text2, "3");
    EXPECT_EQ(lines(Text1(0)).size(), 6u);
    EXPECT_EQ(text(Text3(1)), "6");
    EXPECT_EQ(text(Text3(0)), "4");
    EXPECT_EQ(text(Text3(2)), "2");
}

TEST_F(NestedRunTest, AShowAfterASupersedingResetRuns)
{
    fields.onPump = [&](long n) {
        if (n == 2) {
            ResetAndTakeOver(st, fields);
            ShowCycles(st, fields);
        }
    };
    fields.type(Text2, "3");
    EXPECT_EQ(lines(Text1(0)).size(), 6u);
    EXPECT_EQ(lines(Text1(1)).size(), 4u);
    EXPECT_EQ(text(Text3(1)), "6");
    EXPECT_EQ(text(Text3(2)), "2");
}

TEST_F(NestedRunTest, AnErrorInANestedRunEndsTheOuterOneToo)
{
    fields.onPump = [&](long n) {
        if (n == 2) fields.setText(Text4(3), "1e400");
        if (n == 3) fields.type(Text2, "4");
    };
    EXPECT_EQ(errorNumberOf([&] { fields.type(Text2, "3"); }), 6);
    EXPECT_THAT(fields.messages, IsEmpty());
    EXPECT_EQ(text(Text3(1)), "");
}

} // namespace
} // namespace fibmod::testing
