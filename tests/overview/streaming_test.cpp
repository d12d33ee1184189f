// SPDX-License-Identifier: MIT
// Rows reach the table and the chart as they are computed, and a change of
// the range mid-scan starts over without a stale row.
#include <chrono>

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QTest>
#include <QProgressBar>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableView>

#include "tests/overview/overview_fixture.h"
#include "ui/overview/overview_chart.h"
#include "ui/overview/scan_filter_model.h"
#include "ui/overview/scan_table_model.h"

namespace {

using Chart = fibmod::overview::OverviewChart;

using fibmod::overview::OverviewWindow;

// The largest modulus among the chart's points of the lengths.
double LastModulusDrawn(const OverviewWindow& overview)
{
    double last = 0;
    for (const QPointF& point : overview.chart()->points(Chart::Length1)) last = std::max(last, point.x());
    return last;
}

TEST_F(OverviewTest, RowsArriveInBatchesInTheModelAndTheChart)
{
    OverviewWindow& overview = open();
    QAbstractItemModelTester modelTester(overview.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester tableTester(overview.tableView()->model(),
                                         QAbstractItemModelTester::FailureReportingMode::Fatal);
    int insertions = 0;
    QObject::connect(overview.model(), &QAbstractItemModel::rowsInserted, &overview, [&] { ++insertions; });

    gate.holdAbove(1000);
    form.setText(fibmod::kSequence2Fields.r, "3");
    overview.recomputeIfChanged();
    waitForRows(999);
    EXPECT_TRUE(overview.computing());
    const std::vector<fibmod::ScanRow> all = expectedRows();
    EXPECT_EQ(Rows(overview), std::vector<fibmod::ScanRow>(all.begin(), all.begin() + 999));
    EXPECT_EQ(overview.tableView()->model()->rowCount(), 999);
    EXPECT_GT(LastModulusDrawn(overview), 900);
    EXPECT_LE(LastModulusDrawn(overview), 1000);
    EXPECT_TRUE(SummaryText(overview).startsWith(QStringLiteral("999 Moduln, "))) << SummaryText(overview).toStdString();
    EXPECT_TRUE(SummaryText(overview).endsWith(QStringLiteral("wird berechnet …")));
    EXPECT_EQ(overview.findChild<QProgressBar*>()->value(), 999);

    gate.open();
    settle();
    EXPECT_EQ(Rows(overview), all);
    EXPECT_GT(LastModulusDrawn(overview), 1900);
    EXPECT_EQ(overview.findChild<QProgressBar*>()->value(), 1999);
    EXPECT_LT(insertions, 1999) << "rows come in batches, never one insertion each";
    EXPECT_GE(insertions, 2);
}

TEST_F(OverviewTest, ARangeChangeMidScanClearsAtOnceAndShowsOnlyTheNewRange)
{
    OverviewWindow& overview = open();
    gate.holdAbove(300);
    box(QStringLiteral("bis"))->setValue(2500);
    overview.recomputeIfChanged();
    waitForRows(299);

    std::vector<fibmod::ScanRow> seen;
    QObject::connect(overview.model(), &QAbstractItemModel::rowsInserted, &overview,
                     [&](const QModelIndex&, int first, int last) {
                         { const std::vector<fibmod::ScanRow> now = Rows(overview); seen.insert(seen.end(), now.begin() + first, now.begin() + last + 1); }
                     });
    box(QStringLiteral("von"))->setValue(1200);
    EXPECT_TRUE(Rows(overview).empty()) << "the old range's rows go at once";
    EXPECT_FALSE(overview.computing()) << "and its scan stops";
    EXPECT_EQ(overview.chart()->points(Chart::Length1).size(), 0);

    gate.open();
    overview.recomputeIfChanged();
    settle();
    const std::vector<fibmod::ScanRow> expected = expectedRows({1200, 2500});
    EXPECT_EQ(Rows(overview), expected);
    EXPECT_EQ(seen, expected);
}

TEST_F(OverviewTest, AbbrechenStopsTheScanAndKeepsTheRowsSoFar)
{
    OverviewWindow& overview = open();
    gate.holdAbove(100);
    form.setText(fibmod::kSequence2Fields.r, "3");
    overview.recomputeIfChanged();
    waitForRows(99);
    QPushButton* cancel = nullptr;
    for (QPushButton* button : overview.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Abbrechen")) cancel = button;
    ASSERT_NE(cancel, nullptr);
    ASSERT_TRUE(cancel->isEnabled());
    cancel->click();
    EXPECT_FALSE(overview.computing());
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_EQ(Rows(overview).size(), 99u);
    // The stopped run's rows that were still on their way never show.
    gate.open();
    QCoreApplication::processEvents();
    EXPECT_EQ(Rows(overview).size(), 99u);
    EXPECT_TRUE(SummaryText(overview).endsWith(QStringLiteral("abgebrochen"))) << SummaryText(overview).toStdString();
}

// Counts the paints of a widget.
class Paints : public QObject {
public:
    explicit Paints(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

// The overview handing on the rows at every chance.
class EveryRowAtOnceTest : public OverviewTest {
protected:
    static fibmod::overview::OverviewTuning AtOnce()
    {
        fibmod::overview::OverviewTuning tuning;
        tuning.scan.batchInterval = std::chrono::milliseconds(0);
        return tuning;
    }
    EveryRowAtOnceTest() : OverviewTest(AtOnce()) {}
};

TEST_F(EveryRowAtOnceTest, TheSummaryIsPaintedWithEachCountOfTheProgressBar)
{
    OverviewWindow& overview = open();
    overview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&overview));
    QLabel* summary = nullptr;
    for (QLabel* label : overview.findChildren<QLabel*>())
        if (label->accessibleDescription() == QStringLiteral("Ergebnis")) summary = label;
    ASSERT_NE(summary, nullptr);
    gate.holdAbove(1000);
    form.setText(fibmod::kSequence2Fields.r, "3");
    overview.recomputeIfChanged();
    const Paints bar(overview.findChild<QProgressBar*>());
    const Paints text(summary);

    // The rows reach the window while its event loop is kept busy: nothing
    // but the calls that hand them on is delivered.
    while (overview.model()->rowCount() < 999) QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    ASSERT_GT(bar.count, 0);
    EXPECT_GT(text.count, 0) << "the bar showed a count the summary did not";
    gate.open();
    settle();
}

} // namespace
