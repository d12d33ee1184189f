// SPDX-License-Identifier: MIT
// A sorted table that grows while the scan runs: the batches merged in
// order, in one insertion and one move, with the rows a user holds kept.
#include <algorithm>
#include <chrono>
#include <tuple>

#include <QPersistentModelIndex>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"
#include "tests/support/collected_scan.h"
#include "ui/overview/scan_filter_model.h"
#include "ui/overview/scan_table_model.h"

namespace {

using fibmod::overview::ScanFilterModel;
using fibmod::overview::ScanTableModel;

std::vector<fibmod::ScanRow> Rows(fibmod::ModulusRange range)
{
    return fibmod::Scan(fibmod::kDesignTimeInputs, range).value();
}

// The moduli the view shows, top to bottom.
std::vector<qlonglong> Shown(const ScanFilterModel& table)
{
    std::vector<qlonglong> moduli;
    for (int row = 0; row < table.rowCount(); ++row)
        moduli.push_back(table.index(row, ScanTableModel::Modulus).data().toLongLong());
    return moduli;
}

TEST(SortedScanTest, EachBatchIsMergedInOrderAsOneInsertionAndOneMoveKeepingHeldRows)
{
    ScanTableModel model;
    ScanFilterModel table(&model, ScanFilterModel::Rows::All, std::chrono::milliseconds(0));
    model.setRows(Rows({2, 300}));
    table.sort(ScanTableModel::Length1, Qt::DescendingOrder);
    const QPersistentModelIndex held = table.index(5, ScanTableModel::Length2);
    const QVariant heldModulus = table.index(held.row(), ScanTableModel::Modulus).data();
    QSignalSpy inserted(&table, &QAbstractItemModel::rowsInserted);
    QSignalSpy moved(&table, &QAbstractItemModel::layoutChanged);

    model.appendRows(Rows({301, 700}));

    EXPECT_EQ(inserted.count(), 1) << "a batch is one insertion, not one per place it lands";
    EXPECT_LE(moved.count(), 1);
    ASSERT_EQ(table.rowCount(), 699);
    // Longest first; equal lengths in ascending moduli, as a sort of all rows.
    for (int row = 1; row < table.rowCount(); ++row) {
        const auto key = [&](int at) {
            return std::tuple(-table.index(at, ScanTableModel::Length1).data().toLongLong(),
                              table.index(at, ScanTableModel::Modulus).data().toLongLong());
        };
        ASSERT_LT(key(row - 1), key(row)) << row;
    }
    EXPECT_EQ(table.index(held.row(), ScanTableModel::Modulus).data(), heldModulus);
    EXPECT_EQ(held.column(), ScanTableModel::Length2);
}

// While batches arrive, the view shows the rows before some modulus in the
// order of a sort of just those; once caught up, the order of a sort of the
// finished rows. Merged at every batch (0) and never before the catch-up.
class SortedWhileBatchesArrive : public ::testing::TestWithParam<std::tuple<int, Qt::SortOrder, int>> {};

TEST_P(SortedWhileBatchesArrive, ShowsASortedRunOfTheFirstRowsAndAtTheEndTheSortOfThemAll)
{
    const auto [column, order, intervalMs] = GetParam();
    ScanTableModel model;
    ScanFilterModel table(&model, ScanFilterModel::Rows::All, std::chrono::milliseconds(intervalMs));
    table.sort(column, order);
    ScanTableModel whole;
    ScanFilterModel sortedAtOnce(&whole);
    for (std::int64_t from = 2; from <= 1000; from += 97) {
        model.appendRows(Rows({from, std::min<std::int64_t>(from + 96, 1000)}));
        whole.setRows(Rows({2, 2 + table.rowCount() - 1}));
        sortedAtOnce.sort(column, order);
        ASSERT_EQ(Shown(table), Shown(sortedAtOnce)) << "after the batch from " << from;
    }
    table.catchUp();
    whole.setRows(Rows({2, 1000}));
    sortedAtOnce.sort(column, order);
    EXPECT_EQ(table.rowCount(), 999);
    EXPECT_EQ(Shown(table), Shown(sortedAtOnce));
}

INSTANTIATE_TEST_SUITE_P(LengthAndResidues, SortedWhileBatchesArrive,
                         ::testing::Combine(::testing::Values(int(ScanTableModel::Length1), int(ScanTableModel::Residues)),
                                            ::testing::Values(Qt::AscendingOrder, Qt::DescendingOrder),
                                            ::testing::Values(0, 3'600'000)));

TEST(SortedScanTest, SortingByTheResiduesNeverComputesThemAgain)
{
    ScanTableModel model({.alwaysUpTo = 10, .bytes = 0});
    int computed = 0;
    model.setRows({}, [&computed](std::int64_t modulus) {
        ++computed;
        return Rows({modulus, modulus}).front();
    });
    ScanFilterModel table(&model);
    table.sort(ScanTableModel::Residues, Qt::AscendingOrder);
    model.appendRows(Rows({2, 200}));
    table.sort(ScanTableModel::Residues, Qt::DescendingOrder);
    EXPECT_EQ(computed, 0);
    EXPECT_EQ(table.rowCount(), 199);
}

} // namespace
