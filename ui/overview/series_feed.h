// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QAbstractItemModel;
class QXYSeries;

namespace fibmod::overview {

// Feeds a chart series from two columns of a model, as QVXYModelMapper
// does: one point per model row, x and y the rows' display data (empty data
// is 0). Unlike the mapper, which appends point by point and so has the
// chart redraw the whole line after each, it refills the series in one
// replace() whenever the model's rows change.
class SeriesFeed : public QObject {
    Q_OBJECT

public:
    // Fills `series` at once; owned by `series`.
    SeriesFeed(QAbstractItemModel* model, int xColumn, int yColumn, QXYSeries* series);

    // Reads every row again.
    void refill();

private:
    QAbstractItemModel* model_;
    int xColumn_;
    int yColumn_;
    QXYSeries* series_;
};

} // namespace fibmod::overview
