// SPDX-License-Identifier: MIT
// The overview's chart: series, axes, markers, hover and zoom.
#include "ui/overview/overview_chart.h"

#include <algorithm>
#include <cmath>

#include <QPen>

#include <QChart>
#include <QKeyEvent>
#include <QLineSeries>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <QWheelEvent>

#include "core/modulus_range.h"
#include "ui/overview/qt_boundary.h"
#include "ui/overview/scan_table_model.h"
#include "ui/overview/series_feed.h"

namespace fibmod::overview {

namespace {

template <class Series> Series* FedSeries(const QString& name, QAbstractItemModel* model, int yColumn)
{
    auto* series = new Series;
    series->setName(name);
    new SeriesFeed(model, ScanTableModel::Modulus, yColumn, series);
    return series;
}

} // namespace

OverviewChart::OverviewChart(ScanTableModel* rows, QAbstractItemModel* singles, QAbstractItemModel* errors,
                             QWidget* parent)
    // Given its chart at once: a chart set later would leave the default one behind.
    : QChartView(new QChart, parent), rows_(rows)
{
    QChart* chart = this->chart();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));

    length1_ = FedSeries<QLineSeries>(QStringLiteral("Zykellänge Folge 1"), rows, ScanTableModel::Length1);
    length2_ = FedSeries<QLineSeries>(QStringLiteral("Zykellänge Folge 2"), rows, ScanTableModel::Length2);
    count_ = FedSeries<QLineSeries>(QStringLiteral("Anzahl gemeinsamer Reste"), rows, ScanTableModel::CommonCount);
    singles_ = FedSeries<QScatterSeries>(QStringLiteral("genau ein gemeinsamer Rest"), singles,
                                            ScanTableModel::CommonCount);
    // Error rows have no lengths: their markers sit on the axis, at 0.
    errors_ = FedSeries<QScatterSeries>(QStringLiteral("Laufzeitfehler"), errors, ScanTableModel::Length1);

    // Thin lines: neighbouring moduli are a pixel or two apart.
    length1_->setPen(QPen(QColor(0x1f, 0x77, 0xb4), 1));
    length2_->setPen(QPen(QColor(0xff, 0x7f, 0x0e), 1));
    count_->setPen(QPen(QColor(0x2c, 0xa0, 0x2c), 1));
    singles_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    singles_->setMarkerSize(7);
    singles_->setColor(QColor(0x94, 0x67, 0xbd));
    singles_->setBorderColor(QColor(0x4b, 0x2a, 0x6b));
    errors_->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    errors_->setMarkerSize(8);
    errors_->setColor(Qt::red);
    errors_->setBorderColor(QColor(0x80, 0, 0));
    for (QAbstractSeries* series : {static_cast<QAbstractSeries*>(length1_), static_cast<QAbstractSeries*>(length2_),
                                    static_cast<QAbstractSeries*>(count_), static_cast<QAbstractSeries*>(singles_),
                                    static_cast<QAbstractSeries*>(errors_)}) {
        chart->addSeries(series);
    }

    auto* modulusAxis = new QValueAxis;
    modulusAxis->setTitleText(QStringLiteral("Modul"));
    modulusAxis->setRange(0, kModulusMax);
    modulusAxis->setTickCount(11);
    modulusAxis->setLabelFormat(QStringLiteral("%d"));
    lengthAxis_ = new QValueAxis;
    lengthAxis_->setTitleText(QStringLiteral("Zykellänge"));
    lengthAxis_->setLabelFormat(QStringLiteral("%d"));
    countAxis_ = new QValueAxis;
    countAxis_->setTitleText(QStringLiteral("Anzahl gemeinsamer Reste"));
    countAxis_->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(modulusAxis, Qt::AlignBottom);
    chart->addAxis(lengthAxis_, Qt::AlignLeft);
    chart->addAxis(countAxis_, Qt::AlignRight);
    for (QAbstractSeries* series : chart->series()) series->attachAxis(modulusAxis);
    for (QXYSeries* series : {static_cast<QXYSeries*>(length1_), static_cast<QXYSeries*>(length2_),
                              static_cast<QXYSeries*>(errors_)}) {
        series->attachAxis(lengthAxis_);
    }
    count_->attachAxis(countAxis_);
    singles_->attachAxis(countAxis_);

    setRenderHint(QPainter::Antialiasing, false);
    setRubberBand(QChartView::RectangleRubberBand);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Diagramm aller Moduln"));

    for (QXYSeries* series : {static_cast<QXYSeries*>(length1_), static_cast<QXYSeries*>(length2_),
                              static_cast<QXYSeries*>(count_), static_cast<QXYSeries*>(singles_),
                              static_cast<QXYSeries*>(errors_)}) {
        watch(series);
    }
    connect(rows_, &QAbstractItemModel::modelReset, this, [this] { AtQtBoundary("axes", [this] { fitAxes(); }); });
    fitAxes();
}

void OverviewChart::watch(QXYSeries* series)
{
    connect(series, &QXYSeries::hovered, this, [this](const QPointF& point, bool entered) {
        AtQtBoundary("hover", [&] { showPoint(point, entered); });
    });
    connect(series, &QXYSeries::clicked, this,
            [this](const QPointF& point) { emit modulusClicked(static_cast<int>(std::lround(point.x()))); });
}

void OverviewChart::showPoint(const QPointF& point, bool entered)
{
    if (!entered) {
        QToolTip::hideText();
        return;
    }
    const auto modulus = static_cast<std::int64_t>(std::llround(point.x()));
    const std::vector<ScanRow>& rows = rows_->rows();
    const auto at = std::lower_bound(rows.begin(), rows.end(), modulus,
                                     [](const ScanRow& row, std::int64_t m) { return row.modulus < m; });
    if (at == rows.end() || at->modulus != modulus) return;
    const QString text =
        at->failed()
            ? QStringLiteral("Modul %1\n%2").arg(modulus).arg(QString::fromStdString(at->failureText()))
            : QStringLiteral("Modul %1\nZykellänge Folge 1: %2\nZykellänge Folge 2: %3\nAnzahl gemeinsamer Reste: %4")
                  .arg(modulus)
                  .arg(at->length1)
                  .arg(at->length2)
                  .arg(at->commonCount());
    QToolTip::showText(QCursor::pos(), text);
}

void OverviewChart::fitAxes()
{
    std::int64_t longest = 0;
    std::int64_t most = 0;
    for (const ScanRow& row : rows_->rows()) {
        longest = std::max({longest, row.length1, row.length2});
        most = std::max(most, row.commonCount());
    }
    chart()->zoomReset();
    lengthAxis_->setRange(0, static_cast<double>(std::max<std::int64_t>(longest, 1)));
    lengthAxis_->applyNiceNumbers();
    countAxis_->setRange(0, static_cast<double>(std::max<std::int64_t>(most, 1)));
    countAxis_->applyNiceNumbers();
}

void OverviewChart::resetZoom() { chart()->zoomReset(); }

void OverviewChart::wheelEvent(QWheelEvent* event)
{
    AtQtBoundary("wheel", [&] {
        const int steps = event->angleDelta().y();
        if (steps == 0) return QChartView::wheelEvent(event);
        chart()->zoom(steps > 0 ? 1.25 : 0.8);
        event->accept();
    });
}

void OverviewChart::keyPressEvent(QKeyEvent* event)
{
    AtQtBoundary("key", [&] {
        if (event->key() == Qt::Key_Home) {
            resetZoom();
            event->accept();
            return;
        }
        QChartView::keyPressEvent(event);
    });
}

} // namespace fibmod::overview
