// SPDX-License-Identifier: MIT
// The rows kept compactly: figures always, residues within the budget.
#include <gtest/gtest.h>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"
#include "tests/support/collected_scan.h"
#include "ui/overview/kept_rows.h"

namespace {

using fibmod::overview::KeptRows;

TEST(KeptRowsTest, KeepsResiduesUpToTheModulusAlwaysAndBeyondItWithinTheBytes)
{
    const std::vector<fibmod::ScanRow> rows = *fibmod::Scan(fibmod::kDesignTimeInputs, {2, 300});
    std::size_t firstBytes = 0;
    for (const fibmod::ScanRow& row : rows)
        if (row.modulus <= 100) firstBytes += row.residues.size() * sizeof(std::uint32_t);
    // Up to 100 always; beyond, what fits in 40 residues more.
    KeptRows kept({.alwaysUpTo = 100, .bytes = firstBytes + 40 * sizeof(std::uint32_t)});
    for (const fibmod::ScanRow& row : rows) kept.append(row);
    ASSERT_EQ(kept.size(), rows.size());
    std::size_t beyond = 0;
    bool dropped = false;
    for (std::size_t at = 0; at < rows.size(); ++at) {
        const fibmod::ScanRow& row = rows[at];
        EXPECT_EQ(kept.figures(at).commonCount, row.commonCount());
        EXPECT_EQ(kept.figures(at).length1, row.length1);
        EXPECT_EQ(kept.singleCommon(at), fibmod::HasSingleCommonResidue(row));
        if (kept.residuesKept(at)) {
            EXPECT_EQ(kept.row(at), row);
            if (row.modulus > 100) beyond += row.residues.size();
        } else {
            dropped = true;
            EXPECT_GT(row.modulus, 100);
            EXPECT_TRUE(kept.keptResidues(at).empty());
        }
    }
    EXPECT_TRUE(dropped);
    EXPECT_LE(beyond, 40u);
    EXPECT_LE(kept.residueBytes(), kept.budget().bytes);
    EXPECT_EQ(kept.indexOf(150), std::optional<std::size_t>(148));
    EXPECT_EQ(kept.indexOf(301), std::nullopt);
}

TEST(KeptRowsTest, KeepsAFailuresMessageAndForgetsEverythingOnClear)
{
    KeptRows kept;
    fibmod::ScanRow good = fibmod::Scan(fibmod::kDesignTimeInputs, {9, 9})->front();
    fibmod::ScanRow never;
    never.modulus = 10;
    never.failure = fibmod::RowFailure{fibmod::RowFailure::Kind::NeverRecurs, 0, "Folge 1: Startpaar kehrt nicht wieder"};
    kept.append(good);
    kept.append(never);
    EXPECT_EQ(kept.row(0), good);
    EXPECT_EQ(kept.row(1), never);
    EXPECT_FALSE(kept.figures(0).failed());
    kept.clear();
    EXPECT_TRUE(kept.empty());
    EXPECT_EQ(kept.residueBytes(), 0u);
}

} // namespace
