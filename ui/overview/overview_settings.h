// SPDX-License-Identifier: MIT
// What the overview keeps between runs: its range, its bound, its scale and its place.
#pragma once

#include <QByteArray>

namespace fibmod::overview {

// The overview's range, term bound (0: none) and scale.
struct OverviewSettings {
    int from = 0;
    int to = 0;
    int maxTerms = 0;
    bool logarithmic = false;
};

// The kept settings, or the defaults: 2 … 2000, the window's bound, linear.
OverviewSettings LoadOverviewSettings();
// Keeps the range and the bound.
void SaveOverviewRange(int from, int to, int maxTerms);
// Keeps the scale.
void SaveLogarithmic(bool logarithmic);
// The window's geometry as QWidget::saveGeometry() wrote it; empty when none.
QByteArray LoadOverviewGeometry();
void SaveOverviewGeometry(const QByteArray& geometry);

} // namespace fibmod::overview
