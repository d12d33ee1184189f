// SPDX-License-Identifier: MIT
// Drawing the chart's points in one item, and finding the one under the mouse.
#include "ui/overview/point_layer.h"

#include <QChart>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QXYSeries>

namespace fibmod::overview {

namespace {

// How near the mouse must be to a point's centre, in pixels.
constexpr qreal kReach = 4;

} // namespace

PointLayer::PointLayer(QChart* chart) : QGraphicsObject(chart), chart_(chart)
{
    setAcceptHoverEvents(true);
    setAcceptedMouseButtons(Qt::LeftButton);
    setZValue(10);
}

void PointLayer::setLayer(int layer, QXYSeries* series, const QImage& marker)
{
    Layer& it = layers_.at(static_cast<std::size_t>(layer));
    it.series = series;
    it.marker = marker;
}

void PointLayer::setPoints(int layer, QList<QPointF> points)
{
    layers_.at(static_cast<std::size_t>(layer)).values = std::move(points);
}

void PointLayer::place()
{
    prepareGeometryChange();
    area_ = chart_->plotArea();
    for (Layer& layer : layers_) {
        layer.at.clear();
        layer.at.reserve(static_cast<std::size_t>(layer.values.size()));
        for (const QPointF& value : layer.values) layer.at.push_back(chart_->mapToPosition(value, layer.series));
    }
    update();
}

QRectF PointLayer::boundingRect() const { return area_.adjusted(-kReach, -kReach, kReach, kReach); }

void PointLayer::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->save();
    painter->setClipRect(area_.adjusted(-kReach, -kReach, kReach, kReach));
    for (const Layer& layer : layers_) {
        const QPointF half(layer.marker.width() / 2.0, layer.marker.height() / 2.0);
        for (const QPointF& at : layer.at) painter->drawImage(at - half, layer.marker);
    }
    painter->restore();
}

const QPointF* PointLayer::under(const QPointF& position) const
{
    const QPointF* best = nullptr;
    qreal nearest = kReach * kReach;
    // The top layers first: markers drawn last lie on top.
    for (auto layer = layers_.rbegin(); layer != layers_.rend(); ++layer) {
        for (std::size_t i = 0; i < layer->at.size(); ++i) {
            const QPointF d = layer->at[i] - position;
            const qreal distance = d.x() * d.x() + d.y() * d.y();
            if (distance <= nearest) {
                nearest = distance;
                best = &layer->values[static_cast<qsizetype>(i)];
            }
        }
        if (best != nullptr) return best;
    }
    return best;
}

void PointLayer::hoverMoveEvent(QGraphicsSceneHoverEvent* event)
{
    if (const QPointF* point = under(event->pos())) {
        onPoint_ = true;
        emit hovered(*point, true);
    } else if (onPoint_) {
        onPoint_ = false;
        emit hovered({}, false);
    }
}

void PointLayer::hoverLeaveEvent(QGraphicsSceneHoverEvent*)
{
    if (!onPoint_) return;
    onPoint_ = false;
    emit hovered({}, false);
}

void PointLayer::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    const QPointF* point = under(event->pos());
    if (point == nullptr) {
        event->ignore();
        return;
    }
    event->accept();
    emit clicked(*point);
}

} // namespace fibmod::overview
