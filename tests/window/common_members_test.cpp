// SPDX-License-Identifier: MIT
// The common members of the two cycles as the window lists and counts them.
#include <gmock/gmock.h>

#include "tests/support/computation_fixture.h"

namespace fibmod::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using CommonMembersTest = ComputationTest;

TEST_F(CommonMembersTest, ModulusThreeGivesTheWorkedOutLinesExactly)
{
    fields.type(kModulusField, "3");
    EXPECT_EQ(text(kCommonMembersField),
              " 2 bei  1 2\r\n"
              " 2 bei  2 2\r\n"
              " 2 bei  1 3\r\n"
              " 2 bei  2 3\r\n"
              " 1 bei  3 5\r\n"
              " 1 bei  4 5\r\n"
              " 1 bei  3 6\r\n"
              " 1 bei  4 6\r\n"
              "\r\n"
              "\r\n"
              "Zusammenfassung:\r\n"
              "gemeinsam sind\r\n"
              "die Reste\r\n"
              "\r\n"
              " 1\r\n"
              " 2\r\n");
    EXPECT_EQ(text(kCommonCountField), "2");
    EXPECT_EQ(st.CommonCount, 2);
}

TEST_F(CommonMembersTest, ModulusTwoHasTheSingleResidueOne)
{
    ShowCycles(st, fields);
    EXPECT_THAT(lines(kCommonMembersField),
                ElementsAre(" 1 bei  1 1", "", "", "Zusammenfassung:", "gemeinsam sind", "die Reste", "", " 1"));
    EXPECT_EQ(text(kCommonCountField), "1");
}

TEST_F(CommonMembersTest, ModulusFiveHasFourPairLinesForTheResidueOne)
{
    fields.type(kModulusField, "5");
    EXPECT_THAT(lines(kCommonMembersField), ElementsAre(" 1 bei  5 2", " 1 bei  6 2", " 1 bei  5 3", " 1 bei  6 3", "", "",
                                             "Zusammenfassung:", "gemeinsam sind", "die Reste", "", " 1"));
    EXPECT_EQ(text(kCommonCountField), "1");
}

TEST_F(CommonMembersTest, CyclesWithNothingInCommonCountZero)
{
    // Sequence 1 stays at 1, sequence 2 at 2.
    fields.setText(kSequence1Fields.r, "1");
    fields.setText(kSequence1Fields.s, "0");
    fields.setText(kSequence2Fields.r, "1");
    fields.setText(kSequence2Fields.s, "0");
    fields.setText(kSequence2Fields.first, "2");
    fields.setText(kSequence2Fields.second, "2");
    fields.type(kModulusField, "7");
    EXPECT_THAT(lines(kCommonMembersField), ElementsAre("", "", "Zusammenfassung:", "gemeinsam sind", "die Reste", ""));
    EXPECT_EQ(text(kCommonCountField), "0");
}

TEST_F(CommonMembersTest, PairLinesAreOrderedBySequenceTwoThenSequenceOne)
{
    // Both columns r = s = 1 from 1, 1 modulo 4: the cycle 2, 3, 1, 0, 1, 1.
    SetBothSequences(fields, "1", "1", "1", "1");
    fields.type(kModulusField, "4");
    ASSERT_THAT(lines(kSequence2Fields.listing), ElementsAre(" 2", " 3", " 1", " 0", " 1", " 1"));
    const std::vector<std::string> expected = {
        " 2 bei  1 1", " 3 bei  2 2", " 1 bei  3 3", " 1 bei  5 3", " 1 bei  6 3", " 0 bei  4 4",
        " 1 bei  3 5", " 1 bei  5 5", " 1 bei  6 5", " 1 bei  3 6", " 1 bei  5 6", " 1 bei  6 6",
    };
    auto all = lines(kCommonMembersField);
    all.resize(expected.size());
    EXPECT_THAT(all, ElementsAreArray(expected));
}

TEST_F(CommonMembersTest, ASecondShowCountsOnAndListsTheResiduesAgain)
{
    fields.type(kModulusField, "3");
    ShowCycles(st, fields);
    EXPECT_EQ(text(kCommonCountField), "4");
    const auto all = lines(kCommonMembersField);
    // 8 lines of the first run, then 4 × 8 pair lines of the doubled cycles.
    ASSERT_EQ(all.size(), 16u + 32u + 8u);
    EXPECT_EQ(all[16], " 2 bei  1 2");
    EXPECT_EQ(lastLine(kCommonMembersField), " 2");
}

TEST_F(CommonMembersTest, CommonCountPassingTheIntegerRangeIsOverflow)
{
    fields.type(kModulusField, "3");
    st.CommonCount = 2147483647 - 1;
    EXPECT_EQ(errorNumberOf([&] { ShowCycles(st, fields); }), 6);
    // The lines made before the error stay in the field.
    EXPECT_EQ(lastLine(kCommonMembersField), " 1");
    EXPECT_EQ(text(kCommonCountField), "2");
}

TEST_F(CommonMembersTest, AFractionalCommonTermCountsAsItsNearestResidueEvenTheModulus)
{
    // Both sequences stay at 2.7 modulo 3, which rounds to 3.
    SetBothSequences(fields, "1", "0", "2.7", "2.7");
    fields.type(kModulusField, "3");
    EXPECT_THAT(lines(kCommonMembersField), ElementsAre(" 2.7 bei  1 1", "", "", "Zusammenfassung:", "gemeinsam sind", "die Reste",
                                             "", " 3"));
    EXPECT_EQ(text(kCommonCountField), "1");
}

} // namespace
} // namespace fibmod::testing
