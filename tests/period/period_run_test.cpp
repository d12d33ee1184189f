// SPDX-License-Identifier: MIT
// Tests of periods over many moduli on several threads: the same rows for any threads, a bad modulus, a long range.
#include "core/engine/period/period_run.h"

#include <stdexcept>
#include <stop_token>
#include <vector>

#include <gtest/gtest.h>

namespace fibmod {
namespace {

const std::vector<WholeInputs> kDesignTimeSequences{{BigInt(6), BigInt(-1), BigInt(1), BigInt(1)},
                                                    {BigInt(4), BigInt(-1), BigInt(1), BigInt(1)}};

std::vector<ModulusPeriods> Range(const BigInt& from, const BigInt& to, unsigned threads)
{
    std::vector<ModulusPeriods> rows;
    PeriodRunOptions options;
    options.threads = threads;
    EXPECT_TRUE(PeriodRange(kDesignTimeSequences, from, to, options,
                            [&](ModulusPeriods&& row) { rows.push_back(std::move(row)); }));
    return rows;
}

TEST(PeriodRange, GivesTheSameRowsInOrderForOneAndSeveralThreads)
{
    const BigInt from(std::uint64_t{1000000000000});
    const BigInt to(std::uint64_t{1000000002000});
    const std::vector<ModulusPeriods> one = Range(from, to, 1);
    const std::vector<ModulusPeriods> three = Range(from, to, 3);
    ASSERT_EQ(one.size(), 2001U);
    ASSERT_EQ(three.size(), one.size());
    PeriodCalculator calculator(kDesignTimeSequences, 0);
    for (std::size_t i = 0; i < one.size(); ++i) {
        EXPECT_EQ(one[i].modulus, BigInt(std::uint64_t{1000000000000 + i}));
        EXPECT_EQ(three[i].modulus, one[i].modulus);
        EXPECT_EQ(three[i].periods, one[i].periods);
        EXPECT_EQ(three[i].factors, one[i].factors);
    }
    EXPECT_EQ(one[17].periods, calculator.compute(one[17].modulus).periods);
}

TEST(ComputePeriods, KeepsTheGivenOrderAndStopsAtABadModulusAfterTheRowsBeforeIt)
{
    const std::vector<BigInt> moduli{BigInt(12), BigInt(1000000007), BigInt(12), BigInt(1), BigInt(13)};
    std::vector<BigInt> seen;
    PeriodRunOptions options;
    options.threads = 2;
    EXPECT_THROW(ComputePeriods(kDesignTimeSequences, moduli.size(), [&](std::uint64_t i) { return moduli[i]; },
                                options, [&](ModulusPeriods&& row) { seen.push_back(row.modulus); }),
                 std::invalid_argument);
    EXPECT_EQ(seen, (std::vector<BigInt>{BigInt(12), BigInt(1000000007), BigInt(12)}));
    EXPECT_THROW(Range(BigInt(5), BigInt(4), 1), std::invalid_argument);
    EXPECT_THROW(Range(BigInt(1), BigInt(4), 1), std::invalid_argument);
}

// A range of more moduli than 64 bits count runs in parts; a stop ends it.
TEST(PeriodRange, EndsWhenStoppedEvenWhenItsRangeIsLongerThan64BitsCount)
{
    PeriodRunOptions options;
    options.threads = 2;
    std::stop_source source;
    options.stop = source.get_token();
    std::vector<BigInt> seen;
    const bool finished =
        PeriodRange(kDesignTimeSequences, BigInt(2), PeriodModulusMax(), options, [&](ModulusPeriods&& row) {
            seen.push_back(row.modulus);
            if (seen.size() == 10) source.request_stop();
        });
    EXPECT_FALSE(finished);
    ASSERT_EQ(seen.size(), 10U);
    EXPECT_EQ(seen.back(), BigInt(11));
}

} // namespace
} // namespace fibmod
