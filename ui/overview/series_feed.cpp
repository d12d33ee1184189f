// SPDX-License-Identifier: MIT
// A chart series that follows two columns of a model.
#include "ui/overview/series_feed.h"

#include <QAbstractItemModel>
#include <QList>
#include <QPointF>
#include <QXYSeries>

#include "ui/overview/qt_boundary.h"

namespace fibmod::overview {

SeriesFeed::SeriesFeed(QAbstractItemModel* model, int xColumn, int yColumn, QXYSeries* series)
    : QObject(series), model_(model), xColumn_(xColumn), yColumn_(yColumn), series_(series)
{
    const auto refill = [this] { AtQtBoundary("series", [this] { this->refill(); }); };
    connect(model, &QAbstractItemModel::modelReset, this, refill);
    connect(model, &QAbstractItemModel::layoutChanged, this, refill);
    connect(model, &QAbstractItemModel::rowsInserted, this, refill);
    connect(model, &QAbstractItemModel::rowsRemoved, this, refill);
    connect(model, &QAbstractItemModel::rowsMoved, this, refill);
    connect(model, &QAbstractItemModel::dataChanged, this, refill);
    refill();
}

void SeriesFeed::refill()
{
    QList<QPointF> points;
    const int rows = model_->rowCount();
    points.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        points.append({model_->index(row, xColumn_).data().toReal(), model_->index(row, yColumn_).data().toReal()});
    }
    series_->replace(points);
}

} // namespace fibmod::overview
