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
    fields.setText(kSequence2Fields.second, "-1");
    fields.type(kModulusField, "7");
    EXPECT_THAT(lines(kSequence2Fields.listing), ElementsAre(" 2", " 2", " 6", " 1", " 5", " 5", " 1", " 6"));
    EXPECT_EQ(text(kSequence2Fields.length), "8");
}

TEST_F(CycleEndTest, AStartValueAboveTheModulusIsComparedReduced)
{
    fields.setText(kSequence2Fields.r, "1");
    fields.setText(kSequence2Fields.s, "0");
    fields.setText(kSequence2Fields.first, "8");
    fields.setText(kSequence2Fields.second, "8");
    fields.type(kModulusField, "7");
    EXPECT_THAT(lines(kSequence2Fields.listing), ElementsAre(" 1"));
    EXPECT_EQ(text(kSequence2Fields.length), "1");
}

TEST_F(CycleEndTest, WholeStartValuesBelowTheModulusKeepTheirCycles)
{
    fields.setText(kSequence1Fields.first, "3");
    fields.setText(kSequence1Fields.second, "0");
    fields.type(kModulusField, "7");
    // 6·0 − 3 = −3 ≡ 4, then 6·4 − 0 = 24 ≡ 3, then 6·3 − 4 = 14 ≡ 0: back at 3, 0.
    EXPECT_THAT(lines(kSequence1Fields.listing), ElementsAre(" 4", " 3", " 0"));
    EXPECT_EQ(text(kSequence1Fields.length), "3");
}

TEST_F(ResidueZeroTest, IsListedAndCountedWhenCommon)
{
    SetBothSequences(fields, "0", "1", "0", "1");
    fields.type(kModulusField, "3");
    EXPECT_THAT(lines(kCommonMembersField), ElementsAre(" 0 bei  1 1", " 1 bei  2 2", "", "", "Zusammenfassung:", "gemeinsam sind",
                                             "die Reste", "", " 0", " 1"));
    EXPECT_EQ(text(kCommonCountField), "2");
}

TEST_F(ResidueZeroTest, ItsFlagIsClearedByTheReset)
{
    SetBothSequences(fields, "0", "1", "0", "1");
    fields.type(kModulusField, "3");
    fields.setText(kSequence1Fields.first, "1");
    fields.setText(kSequence1Fields.second, "2");
    fields.type(kModulusField, "4");
    // Sequence 1 now alternates 1, 2; sequence 2 still 1, 0: only 1 is common.
    EXPECT_EQ(lastLine(kCommonMembersField), " 1");
    EXPECT_EQ(text(kCommonCountField), "1");
}

TEST_F(ClampTest, AModulusAbove2000ShowsTheMessageOnceAndOneRun)
{
    fields.type(kModulusField, "2500");
    EXPECT_THAT(fields.messages, ElementsAre("Begrenzung: Modul m < 2000"));
    EXPECT_EQ(text(kModulusField), " 2000");
    EXPECT_EQ(st.M, 2000);
    EXPECT_EQ(fields.getScrollValue(), 2);

    const std::string listing2 = text(kSequence2Fields.listing);
    const std::string listing1 = text(kSequence1Fields.listing);
    const std::string common = text(kCommonMembersField);
    const std::string count = text(kCommonCountField);
    fields.type(kModulusField, "2000");
    EXPECT_EQ(text(kSequence2Fields.listing), listing2);
    EXPECT_EQ(text(kSequence1Fields.listing), listing1);
    EXPECT_EQ(text(kCommonMembersField), common);
    EXPECT_EQ(text(kCommonCountField), count);
}

TEST_F(ClampTest, TheRunStartsFromTheStartValuesAsTyped)
{
    fields.setText(kSequence2Fields.first, "2003");
    fields.type(kModulusField, "3000");
    const std::string clamped = text(kSequence2Fields.listing);
    const std::string length = text(kSequence2Fields.length);
    fields.type(kModulusField, "2000");
    EXPECT_EQ(text(kSequence2Fields.listing), clamped);
    EXPECT_EQ(text(kSequence2Fields.length), length);
    EXPECT_THAT(fields.messages, ElementsAre("Begrenzung: Modul m < 2000"));
}

TEST_F(NestedRunTest, AResetDuringARunSupersedesIt)
{
    fields.onPump = [&](long n) {
        if (n == 3) ResetAndTakeOver(st, fields);
    };
    fields.type(kModulusField, "3");
    EXPECT_EQ(text(kSequence2Fields.listing), "");
    EXPECT_EQ(text(kSequence1Fields.listing), "");
    EXPECT_EQ(text(kCommonMembersField), "");
    EXPECT_EQ(text(kSequence2Fields.length), "");
    EXPECT_EQ(fields.pumps, 3);
    EXPECT_FALSE(CountIsCurrent(st));
}

TEST_F(NestedRunTest, AScrollMoveDuringARunLeavesOnlyTheNewRun)
{
    fields.onPump = [&](long n) {
        if (n == 4) fields.setScrollValue(5);
    };
    fields.type(kModulusField, "3");
    EXPECT_EQ(text(kModulusField), "5");
    EXPECT_THAT(lines(kSequence2Fields.listing), ElementsAre(" 3", " 1", " 1"));
    EXPECT_EQ(text(kSequence2Fields.length), "3");
    EXPECT_EQ(lastLine(kCommonMembersField), " 1");
    EXPECT_EQ(text(kCommonCountField), "1");
    EXPECT_TRUE(CountIsCurrent(st));
}

TEST_F(NestedRunTest, ShowPressedDuringARunDoesNothing)
{
    fields.onPump = [&](long n) {
        if (n == 2) ShowCycles(st, fields);
    };
    fields.type(kModulusField, "3");
    EXPECT_EQ(lines(kSequence2Fields.listing).size(), 6u);
    EXPECT_EQ(text(kSequence2Fields.length), "6");
    EXPECT_EQ(text(kSequence1Fields.length), "4");
    EXPECT_EQ(text(kCommonCountField), "2");
}

TEST_F(NestedRunTest, AShowAfterASupersedingResetRuns)
{
    fields.onPump = [&](long n) {
        if (n == 2) {
            ResetAndTakeOver(st, fields);
            ShowCycles(st, fields);
        }
    };
    fields.type(kModulusField, "3");
    EXPECT_EQ(lines(kSequence2Fields.listing).size(), 6u);
    EXPECT_EQ(lines(kSequence1Fields.listing).size(), 4u);
    EXPECT_EQ(text(kSequence2Fields.length), "6");
    EXPECT_EQ(text(kCommonCountField), "2");
}

TEST_F(NestedRunTest, AnErrorInANestedRunEndsTheOuterOneToo)
{
    fields.onPump = [&](long n) {
        if (n == 2) fields.setText(kSequence2Fields.r, "1e400");
        if (n == 3) fields.type(kModulusField, "4");
    };
    EXPECT_EQ(errorNumberOf([&] { fields.type(kModulusField, "3"); }), 6);
    EXPECT_THAT(fields.messages, IsEmpty());
    EXPECT_EQ(text(kSequence2Fields.length), "");
}

} // namespace
} // namespace fibmod::testing
