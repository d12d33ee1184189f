// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>

#include "tests/support/computation_fixture.h"
#include "core/number_rules.h"

namespace fibmod::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using ResetAndTakeOverTest = ComputationTest;
using CyclesTest = ComputationTest;

TEST_F(ResetAndTakeOverTest, TakesTheDesignTimeInputsOver)
{
    EXPECT_EQ(st.M, 2);
    EXPECT_EQ(st.s1, -1);
    EXPECT_EQ(st.r1, 6);
    EXPECT_EQ(st.s2, -1);
    EXPECT_EQ(st.r2, 4);
    EXPECT_EQ(st.prev1, 1);
    EXPECT_EQ(st.cur1, 1);
    EXPECT_EQ(st.prev2, 1);
    EXPECT_EQ(st.cur2, 1);
    EXPECT_EQ(fields.pumps, 0);
}

TEST_F(ResetAndTakeOverTest, ClearsTheListingsButNotTheResultFields)
{
    fields.type(Text2, "3");
    ASSERT_EQ(text(Text3(2)), "2");
    fields.setText(Text3(0), "old");
    ResetAndTakeOver(st, fields);
    EXPECT_EQ(text(Text1(0)), "");
    EXPECT_EQ(text(Text1(1)), "");
    EXPECT_EQ(text(Text1(6)), "");
    EXPECT_EQ(text(Text3(0)), "old");
    EXPECT_EQ(text(Text3(1)), "6");
    EXPECT_EQ(text(Text3(2)), "2");
    EXPECT_EQ(st.count1, 0);
    EXPECT_EQ(st.count2, 0);
    EXPECT_EQ(st.CommonCount, 0);
    for (int n = 0; n <= 2000; ++n) ASSERT_EQ(st.ResidueFlags.at(n), 0) << n;
}

TEST_F(ResetAndTakeOverTest, ClearsTheFlagOfResidue2000SetByARunAt2000)
{
    // 1999.7 rounds to the residue 2000, flagged by a run at M = 2000.
    SetBothSequences(fields, "1", "0", "1999.7", "1999.7");
    fields.type(Text2, "2000");
    ASSERT_EQ(lastLine(Text1(6)), " 2000");
    SetBothSequences(fields, "1", "0", "1", "1");
    ResetAndTakeOver(st, fields);
    ShowCycles(st, fields);
    EXPECT_EQ(lastLine(Text1(6)), " 1");
    EXPECT_EQ(text(Text3(2)), "1");
}

TEST_F(ResetAndTakeOverTest, AModulusOf2000PassesWithoutMessage)
{
    fields.type(Text2, "2000");
    EXPECT_THAT(fields.messages, IsEmpty());
    EXPECT_EQ(st.M, 2000);
    EXPECT_EQ(text(Text2), "2000");
}

TEST_F(ResetAndTakeOverTest, ATextBeyondTheDoubleRangeIsOverflow)
{
    fields.setText(Text4(3), "1e400");
    EXPECT_EQ(errorNumberOf([&] { ResetAndTakeOver(st, fields); }), 6);
}

TEST_F(CyclesTest, ModulusThreeListsBothCyclesAsWorkedOut)
{
    fields.type(Text2, "3");
    EXPECT_EQ(text(Text1(0)), " 0\r\n 2\r\n 2\r\n 0\r\n 1\r\n 1\r\n");
    EXPECT_EQ(text(Text3(1)), "6");
    EXPECT_EQ(text(Text1(1)), " 2\r\n 2\r\n 1\r\n 1\r\n");
    EXPECT_EQ(text(Text3(0)), "4");
    EXPECT_EQ(st.count2, 6);
    EXPECT_EQ(st.terms2.at(6), 1);
    EXPECT_EQ(st.prev2, 1);
    EXPECT_EQ(st.cur2, 1);
}

TEST_F(CyclesTest, ModulusTwoGivesOneTermEach)
{
    ShowCycles(st, fields);
    EXPECT_THAT(lines(Text1(0)), ElementsAre(" 1"));
    EXPECT_THAT(lines(Text1(1)), ElementsAre(" 1"));
    EXPECT_EQ(text(Text3(0)), "1");
    EXPECT_EQ(text(Text3(1)), "1");
}

TEST_F(CyclesTest, HandsOverToTheEventLoopOncePerTermBeforeComputingIt)
{
    std::vector<std::size_t> listedBefore;
    fields.onPump = [&](long) { listedBefore.push_back(lines(Text1(0)).size() + lines(Text1(1)).size()); };
    fields.type(Text2, "3");
    EXPECT_EQ(fields.pumps, 6 + 4);
    EXPECT_THAT(listedBefore, ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9));
}

TEST_F(CyclesTest, AModulusBelowTwoComputesNothing)
{
    fields.type(Text2, "3");
    for (const char* modulus : {"1.5", "0", "", "-5"}) {
        fields.type(Text2, modulus);
        EXPECT_EQ(text(Text1(0)), "") << modulus;
        EXPECT_EQ(text(Text1(6)), "") << modulus;
        EXPECT_EQ(text(Text3(0)), "4") << modulus;
        EXPECT_EQ(text(Text3(2)), "2") << modulus;
    }
    const long pumps = fields.pumps;
    ShowCycles(st, fields);
    EXPECT_EQ(fields.pumps, pumps);
}

TEST_F(CyclesTest, ASecondShowAppendsAnotherCopyAndDoublesTheCounts)
{
    fields.type(Text2, "3");
    ShowCycles(st, fields);
    EXPECT_EQ(text(Text1(1)), " 2\r\n 2\r\n 1\r\n 1\r\n 2\r\n 2\r\n 1\r\n 1\r\n");
    EXPECT_EQ(lines(Text1(0)).size(), 12u);
    EXPECT_EQ(text(Text3(0)), "8");
    EXPECT_EQ(text(Text3(1)), "12");
    EXPECT_EQ(text(Text3(2)), "4");
    EXPECT_EQ(st.terms1.at(8), 1);
}

TEST_F(CyclesTest, ACycleLongerThan3000TermsIsError9AfterListing3000)
{
    // r = s = 1 from 1, 1 modulo 1250 has a cycle of 7500 terms.
    fields.setText(Text4(1), "1");
    fields.setText(Text4(0), "1");
    fields.setText(Text3(0), "old");
    EXPECT_EQ(errorNumberOf([&] { fields.type(Text2, "1250"); }), 9);
    EXPECT_EQ(text(Text3(1)), IntegerText(st.count2));  // sequence 2 is finished first
    EXPECT_EQ(lines(Text1(1)).size(), 3000u);
    EXPECT_EQ(st.count1, 3001);
    EXPECT_EQ(st.terms1.at(3000), st.cur1);
    EXPECT_EQ(text(Text3(0)), "old");
    EXPECT_EQ(text(Text1(6)), "");
}

TEST_F(CyclesTest, FractionalInputsNeverCloseTheCycle)
{
    fields.setText(Text4(3), "0.5");
    EXPECT_EQ(errorNumberOf([&] { fields.type(Text2, "7"); }), 9);
    EXPECT_EQ(lines(Text1(0)).size(), 3000u);
}

TEST_F(CyclesTest, StartValuesAreReadAfreshOnEveryTerm)
{
    // Sequence 2 modulo 5 runs 3, 1, 1 back to its start pair. Changing the
    // start values during the run moves its end.
    fields.onPump = [&](long n) {
        if (n == 2) fields.setText(Text1(3), "3");
    };
    fields.type(Text2, "5");
    EXPECT_THAT(lines(Text1(0)), ElementsAre(" 3", " 1", " 1", " 3"));
}

// Inputs of sequence 2 whose first term lies beyond the double range.
struct OverflowingInputs {
    const char* name;
    const char* r;
    const char* s;
    const char* a0;
    const char* a1;
};

class OverflowingTermTest : public ComputationTest, public ::testing::WithParamInterface<OverflowingInputs> {};

TEST_P(OverflowingTermTest, IsError6BeforeAnyLineIsWritten)
{
    const OverflowingInputs& in = GetParam();
    fields.setText(Text4(3), in.r);
    fields.setText(Text4(2), in.s);
    fields.setText(Text1(2), in.a0);
    fields.setText(Text1(3), in.a1);
    EXPECT_EQ(errorNumberOf([&] { fields.type(Text2, "1000"); }), 6);
    EXPECT_EQ(text(Text1(0)), "");
    EXPECT_EQ(text(Text3(1)), "");
    EXPECT_EQ(st.count2, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cycles, OverflowingTermTest,
    ::testing::Values(OverflowingInputs{"HugeCoefficientTimesTerm", "1e308", "-1", "1", "10"},
                      OverflowingInputs{"HugeStartValueTimesCoefficient", "4", "-1", "1", "1e308"},
                      // Each product is finite, their sum is not.
                      OverflowingInputs{"SumOfTwoFiniteProducts", "1e308", "1e308", "1.5", "1.5"}),
    [](const ::testing::TestParamInfo<OverflowingInputs>& info) { return info.param.name; });

} // namespace
} // namespace fibmod::testing
