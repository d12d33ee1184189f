// SPDX-License-Identifier: MIT
// Thinning a chart's points to one per cell of pixels.
#include "ui/overview/point_thinning.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace fibmod::overview {

namespace {

double Height(double y, bool logY) { return logY ? std::log10(y) : y; }

} // namespace

PointThinner::PointThinner(const PixelGrid& grid)
    : grid_(grid), columns_(std::max(1, (grid.widthPx + grid.cellPx - 1) / std::max(1, grid.cellPx))),
      rows_(std::max(1, (grid.heightPx + grid.cellPx - 1) / std::max(1, grid.cellPx))),
      yLow_(grid.logY ? std::log10(std::max(grid.yMin, 1e-300)) : grid.yMin),
      ySpan_(Height(std::max(grid.yMax, grid.logY ? 1e-300 : grid.yMax), grid.logY) - yLow_),
      taken_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), false)
{
}

void PointThinner::add(double x, double y)
{
    if (x < grid_.xMin || x > grid_.xMax || y < grid_.yMin || y > grid_.yMax) return;
    if (grid_.logY && y <= 0) return;
    const double xSpan = grid_.xMax - grid_.xMin;
    const double across = xSpan > 0 ? (x - grid_.xMin) / xSpan : 0;
    const double up = ySpan_ > 0 ? (Height(y, grid_.logY) - yLow_) / ySpan_ : 0;
    const int column = std::clamp(static_cast<int>(across * columns_), 0, columns_ - 1);
    const int row = std::clamp(static_cast<int>(up * rows_), 0, rows_ - 1);
    const auto cell = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                      static_cast<std::size_t>(column);
    if (taken_[cell]) return;
    taken_[cell] = true;
    kept_.append(QPointF(x, y));
}

QList<QPointF> PointThinner::take()
{
    std::fill(taken_.begin(), taken_.end(), false);
    return std::exchange(kept_, {});
}

} // namespace fibmod::overview
