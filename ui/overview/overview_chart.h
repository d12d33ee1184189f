// SPDX-License-Identifier: MIT
// The overview's chart of cycle lengths and common residues over the moduli.
#pragma once

#include <cstdint>

#include <QChartView>

class QLogValueAxis;
class QImage;
class QScatterSeries;
class QTimer;
class QValueAxis;
class QXYSeries;

namespace fibmod::overview {

class PointLayer;
class ScanTableModel;

// The chart of a scan's moduli: both cycle lengths and the count of common
// residues as small points (the count on its own axis at the right), the
// moduli with exactly one common residue and the rows without figures as
// markers. It follows the rows as they arrive. Of the points that fall on
// the same pixels it draws one, each a real row's, so that a hundred
// thousand moduli zoom and pan as fast as two thousand; hover and click
// still name a real modulus. Zooms with a rubber band and the mouse wheel,
// pans with the arrow keys both ways, never past its data; Home or
// resetZoom() shows everything again.
class OverviewChart : public QChartView {
    Q_OBJECT

public:
    explicit OverviewChart(ScanTableModel* rows, QWidget* parent = nullptr);

    // The moduli a new scan covers: the horizontal axis spans them, and the
    // zoom is reset.
    void setModulusRange(std::int64_t from, std::int64_t to);
    // Shows every modulus and the full height again.
    void resetZoom();
    // The lengths' axis logarithmic or linear; rows without figures sit on
    // its lower edge either way.
    void setLogarithmic(bool logarithmic);
    bool logarithmic() const { return logarithmic_; }
    // Draws the points for the present rows and axes now, instead of at the
    // next turn of the event loop. For tests and benchmarks.
    void refreshNow();

    // The points drawn, in values of their axes: of each cell of a few
    // pixels the first row's. Drawn in this order, the counts beneath.
    enum Points { Count, Length1, Length2, Single, Error };
    const QList<QPointF>& points(Points which) const;
    // The item that draws them and finds the one under the mouse.
    PointLayer* pointLayer() const { return layer_; }

    // The series, holding no points themselves: each names and colours its
    // points in the legend, and ties them to their axes.
    QScatterSeries* length1Series() const { return length1_; }
    QScatterSeries* countSeries() const { return count_; }
    // The axis of the lengths now shown: a QValueAxis or a QLogValueAxis.
    QAbstractAxis* lengthAxis() const;

signals:
    // A point of some series was clicked.
    void modulusClicked(std::int64_t modulus);

protected:
    // Wheel up zooms in, down out; Home resets; arrow keys pan.
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void rowsAdded(int first, int last);
    void rowsReset();
    void fitAxes();
    void scheduleRefresh();
    void refresh();
    void showPoint(const QPointF& point, bool entered);
    void axisMoved();
    // Pulls a zoomed or panned axis back within its data: the moduli, or
    // the lengths and counts from 0 (1 on a logarithmic axis) to the top the
    // chart last fitted, or the largest figure since, whichever is higher.
    void keepInRange();

    ScanTableModel* rows_;
    QScatterSeries* length1_ = nullptr;
    QScatterSeries* length2_ = nullptr;
    QScatterSeries* count_ = nullptr;
    QScatterSeries* singles_ = nullptr;
    QScatterSeries* errors_ = nullptr;
    QValueAxis* modulusAxis_ = nullptr;
    QValueAxis* linearAxis_ = nullptr;
    QLogValueAxis* logAxis_ = nullptr;
    QValueAxis* countAxis_ = nullptr;
    QTimer* refreshTimer_ = nullptr;
    PointLayer* layer_ = nullptr;
    std::int64_t from_ = 0;
    std::int64_t to_ = 0;
    double spanMin_ = 0;
    double spanMax_ = 1;
    // The tops of the lengths' and the counts' axes as last fitted.
    double lengthTop_ = 1;
    double countTop_ = 1;
    std::int64_t longest_ = 0;
    std::int64_t most_ = 0;
    bool logarithmic_ = false;
    // Set while the chart itself sets the axes; a change otherwise is the
    // user's zoom, kept until resetZoom().
    bool fitting_ = false;
    bool zoomed_ = false;
};

} // namespace fibmod::overview
