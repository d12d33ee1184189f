// SPDX-License-Identifier: MIT
#pragma once

#include <QChartView>

class QAbstractItemModel;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
class QXYSeries;

namespace fibmod::overview {

class ScanTableModel;

// The chart of every modulus: both cycle lengths and the count of common
// residues as lines, the moduli with exactly one common residue and those
// ending in a run-time error as markers. Every series reads its points from
// the models through a SeriesFeed, so the chart shows what the table shows.
// Zooms with a rubber band and the mouse wheel; Home or resetZoom() shows
// everything again.
class OverviewChart : public QChartView {
    Q_OBJECT

public:
    // `rows` holds every row; `singles` and `errors` are filtered views of it.
    OverviewChart(ScanTableModel* rows, QAbstractItemModel* singles, QAbstractItemModel* errors,
                  QWidget* parent = nullptr);

    // Shows every modulus and the full height again.
    void resetZoom();

    // The series, for tests: length 1, length 2, count, single common, errors.
    QLineSeries* length1Series() const { return length1_; }
    QLineSeries* length2Series() const { return length2_; }
    QLineSeries* countSeries() const { return count_; }
    QScatterSeries* singleSeries() const { return singles_; }
    QScatterSeries* errorSeries() const { return errors_; }

signals:
    // A point of some series was clicked; `modulus` is its x.
    void modulusClicked(int modulus);

protected:
    // Wheel up zooms in, down out; Home resets.
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitAxes();
    void watch(QXYSeries* series);
    void showPoint(const QPointF& point, bool entered);

    ScanTableModel* rows_;
    QLineSeries* length1_ = nullptr;
    QLineSeries* length2_ = nullptr;
    QLineSeries* count_ = nullptr;
    QScatterSeries* singles_ = nullptr;
    QScatterSeries* errors_ = nullptr;
    QValueAxis* lengthAxis_ = nullptr;
    QValueAxis* countAxis_ = nullptr;
};

} // namespace fibmod::overview
