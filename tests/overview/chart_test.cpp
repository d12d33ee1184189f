// SPDX-License-Identifier: MIT
// The chart's hover figures and its zoom.
#include <QScatterSeries>
#include <QSignalSpy>
#include <QTableView>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QValueAxis>

#include <cmath>

#include "tests/overview/overview_fixture.h"
#include "ui/overview/overview_chart.h"
#include "ui/overview/scan_table_model.h"

namespace {

using Chart = fibmod::overview::OverviewChart;

QValueAxis* ModulusAxis(fibmod::overview::OverviewChart* chart)
{
    return qobject_cast<QValueAxis*>(chart->chart()->axes(Qt::Horizontal).front());
}

TEST_F(OverviewTest, HoveringAPointShowsWhatTheTableShowsForIt)
{
    fibmod::overview::OverviewWindow& overview = open();
    overview.show();
    fibmod::overview::OverviewChart* chart = overview.chart();
    const QList<QPointF>& points = chart->points(Chart::Length1);
    ASSERT_GT(points.size(), 10);
    // A point of a modulus whose two lengths are drawn at the same place:
    // the point on top is then its own, whatever the chart's size.
    const QList<QPointF>& seconds = chart->points(Chart::Length2);
    const auto both = std::find_if(points.begin(), points.end(),
                                   [&](const QPointF& first) { return seconds.contains(first); });
    ASSERT_NE(both, points.end());
    const QPointF point = *both;
    const int modulus = static_cast<int>(point.x());

    // The mouse moved onto the point, as the window system reports it.
    const QPointF at = chart->mapFromScene(
        chart->chart()->mapToScene(chart->chart()->mapToPosition(point, chart->length1Series())));
    QMouseEvent move(QEvent::MouseMove, at, chart->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(chart->viewport(), &move);
    ASSERT_TRUE(QToolTip::isVisible());
    const QStringList lines = QToolTip::text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4) << QToolTip::text().toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Modul %1").arg(modulus));
    // Each figure under the table's header for it, as the table shows it.
    const QAbstractItemModel* table = overview.tableView()->model();
    using Column = fibmod::overview::ScanTableModel::Column;
    int line = 1;
    for (int column : {int(Column::Length1), int(Column::Length2), int(Column::CommonCount)}) {
        const QString header = table->headerData(column, Qt::Horizontal).toString();
        const QString cell = overview.model()->index(modulus - 2, column).data().toString();
        EXPECT_EQ(lines[line++], header + QStringLiteral(": ") + cell);
    }
}

TEST_F(OverviewTest, ClickingAPointOnScreenShowsItsModulus)
{
    fibmod::overview::OverviewWindow& overview = open();
    overview.show();
    QApplication::processEvents(); // the markers placed for the shown size
    fibmod::overview::OverviewChart* chart = overview.chart();
    // A marker of the top layer (the moduli with one common residue): no
    // other lies above it, whatever the chart's size.
    const QPointF point = chart->points(Chart::Single).at(5);
    const QPoint at = chart->mapFromScene(
        chart->chart()->mapToScene(chart->chart()->mapToPosition(point, chart->countSeries())));
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(DetailText(overview).startsWith(QStringLiteral("Modul %1: ").arg(point.x())))
        << DetailText(overview).toStdString();
}

TEST_F(OverviewTest, ZoomsByWheelAndResetsByButtonAndHome)
{
    fibmod::overview::OverviewWindow& overview = open();
    fibmod::overview::OverviewChart* chart = overview.chart();
    QValueAxis* axis = ModulusAxis(chart);
    ASSERT_NE(axis, nullptr);
    const double whole = axis->max() - axis->min();

    QWheelEvent wheel(QPointF(chart->rect().center()), chart->mapToGlobal(QPointF(chart->rect().center())), {},
                      {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart->viewport(), &wheel);
    EXPECT_LT(axis->max() - axis->min(), whole * 0.9);

    QPushButton* reset = nullptr;
    for (QPushButton* button : overview.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Zoom zurücksetzen")) reset = button;
    ASSERT_NE(reset, nullptr);
    reset->click();
    EXPECT_DOUBLE_EQ(axis->max() - axis->min(), whole);

    chart->chart()->zoom(3);
    QTest::keyClick(chart, Qt::Key_Home);
    EXPECT_DOUBLE_EQ(axis->max() - axis->min(), whole);
}

TEST_F(OverviewTest, PanningStopsAtTheEndsOfTheRange)
{
    fibmod::overview::OverviewWindow& overview = open();
    fibmod::overview::OverviewChart* chart = overview.chart();
    QValueAxis* axis = ModulusAxis(chart);
    ASSERT_NE(axis, nullptr);
    const double first = axis->min();
    const double last = axis->max();
    chart->chart()->zoom(4);
    const double width = axis->max() - axis->min();
    ASSERT_LT(width, (last - first) / 2);

    for (int press = 0; press < 40; ++press) QTest::keyClick(chart, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(axis->min(), first);
    EXPECT_DOUBLE_EQ(axis->max() - axis->min(), width);
    for (int press = 0; press < 80; ++press) QTest::keyClick(chart, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(axis->max(), last);
    EXPECT_DOUBLE_EQ(axis->max() - axis->min(), width);
}

// The labels a whole-number axis shows ("%d"), where its ticks fall.
std::vector<qint64> TickLabels(const QValueAxis& axis)
{
    std::vector<double> ticks;
    if (axis.tickType() == QValueAxis::TicksDynamic) {
        const double step = axis.tickInterval();
        for (double at = axis.tickAnchor() + std::ceil((axis.min() - axis.tickAnchor()) / step) * step;
             at <= axis.max() + 1e-9; at += step)
            ticks.push_back(at);
    } else {
        for (int tick = 0; tick < axis.tickCount(); ++tick)
            ticks.push_back(axis.min() + tick * (axis.max() - axis.min()) / (axis.tickCount() - 1));
    }
    std::vector<qint64> labels;
    for (const double tick : ticks) labels.push_back(static_cast<qint64>(tick));
    return labels;
}

// True when `step` is 1, 2 or 5 times a power of ten.
bool IsRoundStep(qint64 step)
{
    while (step >= 10 && step % 10 == 0) step /= 10;
    return step == 1 || step == 2 || step == 5;
}

class ChartAxesTest : public OverviewTest {
protected:
    // Sequence 2 with s = 1, r = 0 from 0, 1: at most one common residue,
    // so that the counts' axis spans 0 … 1.
    fibmod::overview::OverviewChart& openSmallCounts()
    {
        form.setText(fibmod::kSequence2Fields.s, "1");
        form.setText(fibmod::kSequence2Fields.r, "0");
        form.setText(fibmod::kSequence2Fields.first, "0");
        form.setText(fibmod::kSequence2Fields.second, "1");
        fibmod::overview::OverviewWindow& overview = open();
        overview.show();
        return *overview.chart();
    }
    void wheelUp(fibmod::overview::OverviewChart& chart)
    {
        QWheelEvent wheel(QPointF(chart.rect().center()), chart.mapToGlobal(QPointF(chart.rect().center())), {},
                          {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(chart.viewport(), &wheel);
    }
};

TEST_F(ChartAxesTest, AfterAnyZoomEveryAxisTicksAtRoundWholeNumbersWithoutARepeatedLabel)
{
    fibmod::overview::OverviewChart& chart = openSmallCounts();
    for (int notch = 0; notch < 3; ++notch) {
        wheelUp(chart);
        for (QAbstractAxis* axis : chart.chart()->axes()) {
            const auto* values = qobject_cast<QValueAxis*>(axis);
            if (values == nullptr) continue;
            const std::vector<qint64> labels = TickLabels(*values);
            const std::string name = values->titleText().toStdString();
            for (std::size_t at = 1; at < labels.size(); ++at) {
                const qint64 step = labels[at] - labels[at - 1];
                EXPECT_GT(step, 0) << name << ": a label twice";
                EXPECT_TRUE(step > 0 && IsRoundStep(step) && labels[at] % step == 0) << name << ": " << labels[at];
            }
        }
    }
}

TEST_F(ChartAxesTest, ArrowKeysPanUpAndDownWithinTheData)
{
    fibmod::overview::OverviewChart& chart = openSmallCounts();
    auto* lengths = qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Vertical).front());
    ASSERT_NE(lengths, nullptr);
    const double top = lengths->max();
    chart.chart()->zoom(4);
    const double low = lengths->min();
    const double height = lengths->max() - lengths->min();

    QTest::keyClick(&chart, Qt::Key_Up);
    EXPECT_GT(lengths->min(), low);
    for (int press = 0; press < 60; ++press) QTest::keyClick(&chart, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(lengths->min(), 0);
    EXPECT_DOUBLE_EQ(lengths->max() - lengths->min(), height);
    for (int press = 0; press < 60; ++press) QTest::keyClick(&chart, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(lengths->max(), top) << "the top stays where the data end";
    EXPECT_DOUBLE_EQ(lengths->max() - lengths->min(), height);
}

} // namespace
