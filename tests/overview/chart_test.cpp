// SPDX-License-Identifier: MIT
// The chart's hover figures and its zoom.
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QTest>
#include <QToolTip>
#include <QValueAxis>

#include "tests/overview/overview_fixture.h"
#include "ui/overview/overview_chart.h"

namespace {

QValueAxis* ModulusAxis(fibmod::overview::OverviewChart* chart)
{
    return qobject_cast<QValueAxis*>(chart->chart()->axes(Qt::Horizontal).front());
}

TEST_F(OverviewTest, HoveringAPointShowsItsFigures)
{
    fibmod::overview::OverviewWindow& overview = open();
    overview.show();
    const fibmod::ScanRow& nine = overview.rows()[9 - 2];
    emit overview.chart()->length1Series()->hovered(QPointF(9.3, 12), true);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Modul 9\nZykellänge Folge 1: %1\nZykellänge Folge 2: %2\n"
                                               "Anzahl gemeinsamer Reste: %3")
                                    .arg(nine.length1)
                                    .arg(nine.length2)
                                    .arg(nine.commonCount()));
    EXPECT_TRUE(QToolTip::isVisible());
}

TEST_F(OverviewTest, ZoomsByWheelAndResetsByButtonAndHome)
{
    fibmod::overview::OverviewWindow& overview = open();
    fibmod::overview::OverviewChart* chart = overview.chart();
    QValueAxis* axis = ModulusAxis(chart);
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

} // namespace
