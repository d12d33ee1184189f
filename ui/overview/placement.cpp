// SPDX-License-Identifier: MIT
// Where the overview opens on the screen.
#include "ui/overview/placement.h"

#include <algorithm>
#include <cstdint>

#include <QDataStream>

namespace fibmod::overview {

namespace {

// Of a frame, this much must be on a screen to count as on it: the width of
// a few buttons, the height of a title bar.
constexpr int kGrip = 40;

} // namespace

QRect PlaceBeside(const QRect& main, QSize wanted, const QRect& available, int gap)
{
    const QSize size = wanted.boundedTo(available.size());
    const int top = std::clamp(main.top(), available.top(), available.bottom() + 1 - size.height());
    QPoint at;
    if (main.right() + gap + size.width() <= available.right() + 1)
        at = QPoint(main.right() + 1 + gap, top);
    else if (main.left() - gap - size.width() >= available.left())
        at = QPoint(main.left() - gap - size.width(), top);
    else
        at = QPoint(std::clamp(main.left(), available.left(), available.right() + 1 - size.width()), top);
    return QRect(at, size);
}

bool OnSomeScreen(const QRect& frame, const QList<QRect>& screens)
{
    // The strip along the top, where the title bar is.
    const QRect strip(frame.left(), frame.top(), frame.width(), std::min(frame.height(), kGrip));
    return std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
        const QRect seen = screen.intersected(strip);
        return seen.width() >= std::min(strip.width(), kGrip) && seen.height() >= strip.height() / 2;
    });
}

QRect KeptMostlyInside(const QRect& frame, const QRect& available)
{
    const QRect seen = frame.intersected(available);
    const auto area = [](const QRect& r) { return static_cast<std::int64_t>(r.width()) * r.height(); };
    if (2 * area(seen) >= area(frame)) return frame;
    const QSize size = frame.size().boundedTo(available.size());
    const QPoint at(std::clamp(frame.left(), available.left(), available.right() + 1 - size.width()),
                    std::clamp(frame.top(), available.top(), available.bottom() + 1 - size.height()));
    return QRect(at, size);
}

std::optional<QRect> SavedFrame(const QByteArray& saved)
{
    // QWidget's format: magic number, version, then the frame geometry.
    QDataStream stream(saved);
    stream.setVersion(QDataStream::Qt_4_0);
    quint32 magic = 0;
    quint16 major = 0;
    quint16 minor = 0;
    QRect frame;
    stream >> magic >> major >> minor >> frame;
    if (stream.status() != QDataStream::Ok || magic != 0x1D9D0CB || !frame.isValid()) return std::nullopt;
    return frame;
}

} // namespace fibmod::overview
