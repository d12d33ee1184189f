// SPDX-License-Identifier: MIT
// The chart's points thinned to one per few pixels.
#pragma once

#include <vector>

#include <QList>
#include <QPointF>

namespace fibmod::overview {

// A plot area divided into square cells of a few pixels: the values it
// spans, its size in pixels, and whether its height is logarithmic.
struct PixelGrid {
    double xMin = 0;
    double xMax = 1;
    double yMin = 0;
    double yMax = 1;
    int widthPx = 1;
    int heightPx = 1;
    int cellPx = 2;
    bool logY = false;
};

// Thins points to what the pixels can show: of the points added, in their
// order, it keeps the first that falls on each cell of the grid, and drops
// the points outside it (and those at or below 0 on a logarithmic height).
// Every cell that some point covers is covered by a kept one, so each
// column keeps its lowest and highest point, and a kept point is always one
// of those added.
class PointThinner {
public:
    explicit PointThinner(const PixelGrid& grid);

    void add(double x, double y);
    // The kept points; the thinner starts empty again.
    QList<QPointF> take();

private:
    PixelGrid grid_;
    int columns_;
    int rows_;
    double yLow_;
    double ySpan_;
    std::vector<bool> taken_;
    QList<QPointF> kept_;
};

} // namespace fibmod::overview
