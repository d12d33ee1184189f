// SPDX-License-Identifier: MIT
// The chart's points, drawn by one item per layer.
#pragma once

#include <array>
#include <vector>

#include <QGraphicsObject>
#include <QImage>
#include <QList>
#include <QPointF>

class QChart;
class QXYSeries;

namespace fibmod::overview {

// The chart's points, drawn by one item over the plot area instead of one
// item per point, each layer with its own small picture and placed by the
// axes of its series (which itself holds no points and names the layer in
// the legend). Finds the point under the mouse for hover and click.
class PointLayer : public QGraphicsObject {
    Q_OBJECT

public:
    static constexpr int kLayers = 5;

    explicit PointLayer(QChart* chart);

    // The points of `layer` in the values of its series' axes, drawn with
    // `marker` centred on each.
    void setLayer(int layer, QXYSeries* series, const QImage& marker);
    void setPoints(int layer, QList<QPointF> points);
    const QList<QPointF>& points(int layer) const { return layers_.at(static_cast<std::size_t>(layer)).values; }
    // Places the points again after the axes or the plot area changed.
    void place();

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

signals:
    // The mouse came onto a point (its values), or left the last one.
    void hovered(const QPointF& point, bool entered);
    // A point was clicked.
    void clicked(const QPointF& point);

protected:
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;

private:
    struct Layer {
        QXYSeries* series = nullptr;
        QImage marker;
        QList<QPointF> values;
        std::vector<QPointF> at;
    };
    // The point nearest `position` within a few pixels, or none.
    const QPointF* under(const QPointF& position) const;

    QChart* chart_;
    std::array<Layer, kLayers> layers_;
    QRectF area_;
    bool onPoint_ = false;
};

} // namespace fibmod::overview
