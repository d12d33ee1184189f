// SPDX-License-Identifier: MIT
// Where the overview's window opens and whether a saved place is still on a screen.
#pragma once

#include <optional>

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSize>

namespace fibmod::overview {

// Where the overview's frame opens: `wanted` shrunk to fit `available`,
// beside the main window's frame `main` (right of it, else left of it) where
// there is room, and over it where there is not; always inside `available`.
QRect PlaceBeside(const QRect& main, QSize wanted, const QRect& available, int gap = 8);

// True when enough of `frame` lies on one of the screens' available areas
// to see its title bar and take hold of it.
bool OnSomeScreen(const QRect& frame, const QList<QRect>& screens);

// `frame` where at least half of it lies in `available`; otherwise moved
// (and shrunk where it must be) to lie wholly inside it.
QRect KeptMostlyInside(const QRect& frame, const QRect& available);

// The frame geometry kept in what QWidget::saveGeometry() wrote, or none.
std::optional<QRect> SavedFrame(const QByteArray& saved);

} // namespace fibmod::overview
