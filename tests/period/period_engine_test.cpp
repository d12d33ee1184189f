// SPDX-License-Identifier: MIT
// The period engine through its one entry, loaded from the module: the same rows as the engine's own.
#include "core/engine/period/period_engine.h"

#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/engine/period/period.h"

namespace fibmod {
namespace {

using ::testing::HasSubstr;

// Inputs past 64 bits and of both signs, so that their text must cross whole.
const PeriodJob kJob{.sequences = {{{"-123456789012345678901234567890", "-1", "1", "1"},
                                    {"4", "2", "0", "98765432109876543210987654321"}}},
                     .threads = 2,
                     .stop = {}};

std::string Csv(const PeriodRowText& row)
{
    std::string line;
    AppendPeriodCsvLine(line, row);
    return line;
}

// The CSV lines of `moduli` computed here, without the module.
std::vector<std::string> Computed(const std::vector<PeriodUInt128>& moduli)
{
    std::vector<WholeInputs> sequences;
    for (const WholeInputTexts& texts : kJob.sequences)
        sequences.push_back({BigInt::FromDecimal(texts.r), BigInt::FromDecimal(texts.s),
                             BigInt::FromDecimal(texts.first), BigInt::FromDecimal(texts.second)});
    PeriodCalculator calculator(sequences, 0);
    std::vector<std::string> lines;
    for (const PeriodUInt128 M : moduli) lines.push_back(Csv(RowText(calculator.compute(BigInt(M)))));
    return lines;
}

TEST(PeriodEngine, GivesTheEnginesRowsInOrderForListsAndRanges)
{
    const std::vector<PeriodUInt128> moduli{12, 1000000007, kPeriodModulusMax, 12, 2};
    std::vector<std::string> rows;
    const auto collect = [&rows](PeriodRowText&& row) { rows.push_back(Csv(row)); };
    EXPECT_TRUE(LoadedPeriodEngine().periods(kJob, moduli, collect));
    EXPECT_EQ(rows, Computed(moduli));

    rows.clear();
    const PeriodUInt128 below2To64 = (PeriodUInt128{1} << 64) - 5;
    EXPECT_TRUE(LoadedPeriodEngine().range(kJob, below2To64, below2To64 + 9, collect));
    std::vector<PeriodUInt128> range;
    for (PeriodUInt128 M = below2To64; M <= below2To64 + 9; ++M) range.push_back(M);
    EXPECT_EQ(rows, Computed(range));
}

TEST(PeriodEngine, EndsWhenStoppedAndRaisesTheSinksExceptionAfterItsRows)
{
    PeriodJob job = kJob;
    std::stop_source stop;
    stop.request_stop();
    job.stop = stop.get_token();
    int rows = 0;
    EXPECT_FALSE(LoadedPeriodEngine().range(job, 2, 1000000, [&rows](PeriodRowText&&) { ++rows; }));
    EXPECT_EQ(rows, 0);

    std::vector<std::string> seen;
    EXPECT_THROW(LoadedPeriodEngine().range(kJob, 2, 1000, [&seen](PeriodRowText&& row) {
        if (seen.size() == 3) throw std::runtime_error("full");
        seen.push_back(row.modulus);
    }),
                 std::runtime_error);
    EXPECT_EQ(seen, (std::vector<std::string>{"2", "3", "4"}));
}

TEST(PeriodEngine, AModuleMissingOrWithoutTheEntryIsAnErrorNamingIt)
{
    for (const char* fileName : {"fibmod-no-such-module.so", "libm.so.6"}) {
        try {
            PeriodEngineIn(fileName);
            ADD_FAILURE() << fileName;
        } catch (const PeriodEngineMissing& missing) {
            EXPECT_THAT(missing.what(), HasSubstr(std::string("cannot load the period engine's module ") + fileName));
        }
    }
}

} // namespace
} // namespace fibmod
