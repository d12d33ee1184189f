// SPDX-License-Identifier: MIT
// The window's procedures: taking the inputs over, and the cycles they list.
#include <ostream>

#include <gmock/gmock.h>

#include "core/engine/number_rules.h"
#include "core/engine/recurrence.h"
#include "tests/support/computation_fixture.h"

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
    fields.type(kModulusField, "3");
    ASSERT_EQ(text(kCommonCountField), "2");
    fields.setText(kSequence1Fields.length, "old");
    ResetAndTakeOver(st, fields);
    EXPECT_EQ(text(kSequence2Fields.listing), "");
    EXPECT_EQ(text(kSequence1Fields.listing), "");
    EXPECT_EQ(text(kCommonMembersField), "");
    EXPECT_EQ(text(kSequence1Fields.length), "old");
    EXPECT_EQ(text(kSequence2Fields.length), "6");
    EXPECT_EQ(text(kCommonCountField), "2");
    EXPECT_EQ(st.count1, 0);
    EXPECT_EQ(st.count2, 0);
    EXPECT_EQ(st.CommonCount, 0);
    for (int n = 0; n <= 2000; ++n) ASSERT_EQ(st.ResidueFlags.at(n), 0) << n;
}

TEST_F(ResetAndTakeOverTest, ClearsTheFlagOfResidue2000SetByARunAt2000)
{
    // 1999.7 rounds to the residue 2000, flagged by a run at M = 2000.
    SetBothSequences(fields, "1", "0", "1999.7", "1999.7");
    fields.type(kModulusField, "2000");
    ASSERT_EQ(lastLine(kCommonMembersField), " 2000");
    SetBothSequences(fields, "1", "0", "1", "1");
    ResetAndTakeOver(st, fields);
    ShowCycles(st, fields);
    EXPECT_EQ(lastLine(kCommonMembersField), " 1");
    EXPECT_EQ(text(kCommonCountField), "1");
}

TEST_F(ResetAndTakeOverTest, AModulusOf2000PassesWithoutMessage)
{
    fields.type(kModulusField, "2000");
    EXPECT_THAT(fields.messages, IsEmpty());
    EXPECT_EQ(st.M, 2000);
    EXPECT_EQ(text(kModulusField), "2000");
}

TEST_F(ResetAndTakeOverTest, ATextBeyondTheDoubleRangeIsOverflow)
{
    fields.setText(kSequence2Fields.r, "1e400");
    EXPECT_EQ(errorNumberOf([&] { ResetAndTakeOver(st, fields); }), 6);
}

TEST_F(CyclesTest, ModulusThreeListsBothCyclesAsWorkedOut)
{
    fields.type(kModulusField, "3");
    EXPECT_EQ(text(kSequence2Fields.listing), " 0\r\n 2\r\n 2\r\n 0\r\n 1\r\n 1\r\n");
    EXPECT_EQ(text(kSequence2Fields.length), "6");
    EXPECT_EQ(text(kSequence1Fields.listing), " 2\r\n 2\r\n 1\r\n 1\r\n");
    EXPECT_EQ(text(kSequence1Fields.length), "4");
    EXPECT_EQ(st.count2, 6);
    EXPECT_EQ(st.terms2.at(6), 1);
    EXPECT_EQ(st.prev2, 1);
    EXPECT_EQ(st.cur2, 1);
}

TEST_F(CyclesTest, ModulusTwoGivesOneTermEach)
{
    ShowCycles(st, fields);
    EXPECT_THAT(lines(kSequence2Fields.listing), ElementsAre(" 1"));
    EXPECT_THAT(lines(kSequence1Fields.listing), ElementsAre(" 1"));
    EXPECT_EQ(text(kSequence1Fields.length), "1");
    EXPECT_EQ(text(kSequence2Fields.length), "1");
}

TEST_F(CyclesTest, HandsOverToTheEventLoopOncePerTermBeforeComputingIt)
{
    std::vector<std::size_t> listedBefore;
    fields.onPump = [&](long) { listedBefore.push_back(lines(kSequence2Fields.listing).size() + lines(kSequence1Fields.listing).size()); };
    fields.type(kModulusField, "3");
    EXPECT_EQ(fields.pumps, 6 + 4);
    EXPECT_THAT(listedBefore, ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9));
}

TEST_F(CyclesTest, AModulusBelowTwoComputesNothing)
{
    fields.type(kModulusField, "3");
    for (const char* modulus : {"1.5", "0", "", "-5"}) {
        fields.type(kModulusField, modulus);
        EXPECT_EQ(text(kSequence2Fields.listing), "") << modulus;
        EXPECT_EQ(text(kCommonMembersField), "") << modulus;
        EXPECT_EQ(text(kSequence1Fields.length), "4") << modulus;
        EXPECT_EQ(text(kCommonCountField), "2") << modulus;
    }
    const long pumps = fields.pumps;
    ShowCycles(st, fields);
    EXPECT_EQ(fields.pumps, pumps);
}

TEST_F(CyclesTest, ASecondShowAppendsAnotherCopyAndDoublesTheCounts)
{
    fields.type(kModulusField, "3");
    ShowCycles(st, fields);
    EXPECT_EQ(text(kSequence1Fields.listing), " 2\r\n 2\r\n 1\r\n 1\r\n 2\r\n 2\r\n 1\r\n 1\r\n");
    EXPECT_EQ(lines(kSequence2Fields.listing).size(), 12u);
    EXPECT_EQ(text(kSequence1Fields.length), "8");
    EXPECT_EQ(text(kSequence2Fields.length), "12");
    EXPECT_EQ(text(kCommonCountField), "4");
    EXPECT_EQ(st.terms1.at(8), 1);
}

TEST_F(CyclesTest, ACycleLongerThan3000TermsIsError9AfterListing3000)
{
    // r = s = 1 from 1, 1 modulo 1250 has a cycle of 7500 terms.
    fields.setText(kSequence1Fields.r, "1");
    fields.setText(kSequence1Fields.s, "1");
    fields.setText(kSequence1Fields.length, "old");
    EXPECT_EQ(errorNumberOf([&] { fields.type(kModulusField, "1250"); }), 9);
    EXPECT_EQ(text(kSequence2Fields.length), IntegerText(st.count2));  // sequence 2 is finished first
    EXPECT_EQ(lines(kSequence1Fields.listing).size(), 3000u);
    EXPECT_EQ(st.count1, 3001);
    EXPECT_EQ(st.terms1.at(3000), st.cur1);
    EXPECT_EQ(text(kSequence1Fields.length), "old");
    EXPECT_EQ(text(kCommonMembersField), "");
}

TEST_F(CyclesTest, ACycleOfExactly3000TermsIsListedWhole)
{
    // r = 1, s = -2 from 0, 1 modulo 625 comes back after 3000 terms.
    SetBothSequences(fields, "1", "-2", "0", "1");
    EXPECT_EQ(errorNumberOf([&] { fields.type(kModulusField, "625"); }), 0);
    EXPECT_EQ(lines(kSequence1Fields.listing).size(), 3000u);
    EXPECT_EQ(text(kSequence1Fields.length), "3000");
    EXPECT_EQ(text(kSequence2Fields.length), "3000");
    EXPECT_NE(text(kCommonCountField), "");
}

// r = 2, s = -1 steps by the difference of the start values: from 0.5, 1.5
// the cycle modulo M has exactly M terms.
TEST(CycleBound, ACycleOfExactly3000TermsIsWholeAndOneOf3001IsError9)
{
    const Sequence counting{.r = 2, .s = -1, .first = 0.5, .second = 1.5};
    EXPECT_EQ(Cycle(counting, 3000).size(), 3000u);
    try {
        (void)Cycle(counting, 3001);
        ADD_FAILURE() << "a cycle of 3001 terms passed the bound";
    } catch (const RunTimeError& error) {
        EXPECT_EQ(error.number(), 9);
    }
    // Any other bound holds the same way.
    EXPECT_EQ(Cycle(counting, 3001, 3001).size(), 3001u);
}

TEST_F(CyclesTest, FractionalInputsNeverCloseTheCycle)
{
    fields.setText(kSequence2Fields.r, "0.5");
    EXPECT_EQ(errorNumberOf([&] { fields.type(kModulusField, "7"); }), 9);
    EXPECT_EQ(lines(kSequence2Fields.listing).size(), 3000u);
}

TEST_F(CyclesTest, StartValuesAreReadAfreshOnEveryTerm)
{
    // Sequence 2 modulo 5 runs 3, 1, 1 back to its start pair. Changing the
    // start values during the run moves its end.
    fields.onPump = [&](long n) {
        if (n == 2) fields.setText(kSequence2Fields.second, "3");
    };
    fields.type(kModulusField, "5");
    EXPECT_THAT(lines(kSequence2Fields.listing), ElementsAre(" 3", " 1", " 1", " 3"));
}

// Inputs of sequence 2 whose first term lies beyond the double range.
struct OverflowingInputs {
    const char* name;
    const char* r;
    const char* s;
    const char* a0;
    const char* a1;
};

// A case reads as its name and inputs in test listings and failures.
void PrintTo(const OverflowingInputs& in, std::ostream* os)
{
    *os << in.name << " (r = " << in.r << ", s = " << in.s << ", start " << in.a0 << ", " << in.a1 << ")";
}

class OverflowingTermTest : public ComputationTest, public ::testing::WithParamInterface<OverflowingInputs> {};

TEST_P(OverflowingTermTest, IsError6BeforeAnyLineIsWritten)
{
    const OverflowingInputs& in = GetParam();
    fields.setText(kSequence2Fields.r, in.r);
    fields.setText(kSequence2Fields.s, in.s);
    fields.setText(kSequence2Fields.first, in.a0);
    fields.setText(kSequence2Fields.second, in.a1);
    EXPECT_EQ(errorNumberOf([&] { fields.type(kModulusField, "1000"); }), 6);
    EXPECT_EQ(text(kSequence2Fields.listing), "");
    EXPECT_EQ(text(kSequence2Fields.length), "");
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
