// SPDX-License-Identifier: MIT
// The overview's table: filter, sorting, and the way back to the main window.
#include <algorithm>
#include <chrono>

#include <QCheckBox>
#include <QScatterSeries>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include "tests/overview/overview_fixture.h"
#include "ui/overview/overview_chart.h"
#include "ui/overview/point_layer.h"
#include "ui/overview/scan_table_model.h"

namespace {

using Column = fibmod::overview::ScanTableModel::Column;

std::vector<int> Column0(const QAbstractItemModel& model, int column)
{
    std::vector<int> values;
    for (int row = 0; row < model.rowCount(); ++row) values.push_back(model.index(row, column).data().toInt());
    return values;
}

TEST_F(OverviewTest, TheFilterLeavesExactlyTheSteppingsStops)
{
    fibmod::overview::OverviewWindow& overview = open();
    QCheckBox* only = nullptr;
    for (QCheckBox* check : overview.findChildren<QCheckBox*>())
        if (check->text() == QStringLiteral("nur genau ein gemeinsamer Rest")) only = check;
    ASSERT_NE(only, nullptr);
    EXPECT_EQ(only->text(), QStringLiteral("nur genau ein gemeinsamer Rest"));
    const QAbstractItemModel& table = *overview.tableView()->model();

    only->setChecked(true);
    ASSERT_EQ(table.rowCount(), 159);
    const std::vector<int> moduli = Column0(table, Column::Modulus);
    EXPECT_EQ(std::vector<int>(moduli.begin(), moduli.begin() + 6), (std::vector<int>{2, 4, 5, 7, 8, 10}));
    std::vector<int> stops;
    for (const fibmod::ScanRow& row : expectedRows())
        if (fibmod::HasSingleCommonResidue(row)) stops.push_back(row.modulus);
    EXPECT_EQ(moduli, stops);

    only->setChecked(false);
    EXPECT_EQ(table.rowCount(), 1999);
}

TEST_F(OverviewTest, SortsNumbersByValue)
{
    fibmod::overview::OverviewWindow& overview = open();
    QTableView* view = overview.tableView();
    const QAbstractItemModel& table = *view->model();
    for (int column : {int(Column::Modulus), int(Column::Length1), int(Column::Length2), int(Column::CommonCount)}) {
        view->sortByColumn(column, Qt::DescendingOrder);
        const std::vector<int> values = Column0(table, column);
        EXPECT_TRUE(std::is_sorted(values.rbegin(), values.rend())) << column;
        EXPECT_GT(values.front(), values.back()) << column;
    }
    view->sortByColumn(Column::Modulus, Qt::AscendingOrder);
    EXPECT_EQ(table.index(0, Column::Modulus).data(), QVariant(2));
    EXPECT_EQ(table.index(1998, Column::Modulus).data(), QVariant(2000));
    EXPECT_EQ(table.index(0, Column::Length1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
              Qt::AlignRight);
}

// A sorted table that merges new rows in only when the scan ends.
class MergedAtTheEndTest : public OverviewTest {
protected:
    static fibmod::overview::OverviewTuning HourlyMerge()
    {
        fibmod::overview::OverviewTuning tuning;
        tuning.sortedMerge = std::chrono::hours(1);
        return tuning;
    }
    MergedAtTheEndTest() : OverviewTest(HourlyMerge()) {}
};

TEST_F(MergedAtTheEndTest, ATableSortedBeforeTheScanShowsEveryRowInOrderOnceItEnds)
{
    fibmod::overview::OverviewWindow& overview = open();
    QTableView* view = overview.tableView();
    view->sortByColumn(Column::Length1, Qt::DescendingOrder);
    // At least two batches: the first shown at once, the others merged in
    // when the scan ends.
    gate.holdAbove(1000);
    form.setText(fibmod::kSequence2Fields.r, "3");
    overview.recomputeIfChanged();
    waitForRows(999);
    gate.open();
    settle();
    const QAbstractItemModel& table = *view->model();
    ASSERT_EQ(table.rowCount(), 1999) << "the rows still waiting to be merged in show at the end";
    // Longest first, and the rows without a length (run-time errors) last.
    std::vector<int> lengths;
    int empty = 0;
    for (int row = 0; row < table.rowCount(); ++row) {
        const QVariant length = table.index(row, Column::Length1).data();
        if (!length.isValid())
            ++empty;
        else
            EXPECT_EQ(empty, 0) << "a length below an empty cell at row " << row;
        if (length.isValid()) lengths.push_back(length.toInt());
    }
    EXPECT_GT(empty, 0);
    EXPECT_TRUE(std::is_sorted(lengths.rbegin(), lengths.rend()));
}

TEST_F(OverviewTest, DoubleClickingARowShowsThatModulusInTheMainWindow)
{
    fibmod::overview::OverviewWindow& overview = open();
    QTableView* view = overview.tableView();
    view->sortByColumn(Column::Modulus, Qt::DescendingOrder);
    const QModelIndex row = view->model()->index(1993, Column::Length1); // modulus 7
    ASSERT_EQ(view->model()->index(1993, Column::Modulus).data(), QVariant(7));
    view->scrollTo(row);
    const QPoint at = view->visualRect(row).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);

    EXPECT_EQ(form.findChild<QScrollBar*>(QStringLiteral("HScroll1"))->value(), 7);
    EXPECT_EQ(form.getText(fibmod::Text2), "7");
    const fibmod::ScanRow seven = Rows(overview)[7 - 2];
    EXPECT_EQ(form.getText(fibmod::Text3(0)), std::to_string(seven.length1));
    EXPECT_EQ(form.getText(fibmod::Text3(1)), std::to_string(seven.length2));
    EXPECT_EQ(form.getText(fibmod::Text3(2)), "1");
    EXPECT_TRUE(messages.empty());
}

TEST_F(OverviewTest, ClickingAChartPointShowsThatModulusInTheMainWindow)
{
    fibmod::overview::OverviewWindow& overview = open();
    emit overview.chart()->pointLayer()->clicked(QPointF(10.2, 1));
    EXPECT_TRUE(DetailText(overview).startsWith(QStringLiteral("Modul 10: "))) << DetailText(overview).toStdString();
    EXPECT_EQ(form.findChild<QScrollBar*>(QStringLiteral("HScroll1"))->value(), 10);
    EXPECT_EQ(form.getText(fibmod::Text2), "10");
    EXPECT_EQ(form.getText(fibmod::Text3(2)), "1");
}

TEST_F(OverviewTest, TabAndShiftTabLeaveTheTableWhileTheArrowsMoveInsideIt)
{
    fibmod::overview::OverviewWindow& overview = open();
    QTableView* view = overview.tableView();
    view->setFocus();
    view->setCurrentIndex(view->model()->index(0, Column::Modulus));
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(view->currentIndex(), view->model()->index(1, Column::Length1));

    QTest::keyClick(view, Qt::Key_Tab);
    EXPECT_NE(overview.focusWidget(), view);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_NE(overview.focusWidget(), view);
    EXPECT_EQ(view->currentIndex(), view->model()->index(1, Column::Length1));
}

} // namespace
