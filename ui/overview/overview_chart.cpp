// SPDX-License-Identifier: MIT
// The overview's chart: series, axes, markers, hover, zoom and pan.
#include "ui/overview/overview_chart.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include <QChart>
#include <QGraphicsLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLogValueAxis>
#include <QPainter>
#include <QScatterSeries>
#include <QTimer>
#include <QToolTip>
#include <QValueAxis>
#include <QWheelEvent>

#include "ui/overview/overview_texts.h"
#include "ui/overview/point_layer.h"
#include "ui/overview/point_thinning.h"
#include "ui/qt_boundary.h"
#include "ui/overview/scan_table_model.h"

namespace fibmod::overview {

namespace {

// The look of one series' points.
struct Marker {
    QColor fill;
    QColor border;
    qreal size;
    bool square;
};

constexpr Marker kLength1{QColor(0x1f, 0x77, 0xb4), QColor(0x1f, 0x77, 0xb4), 3, false};
constexpr Marker kLength2{QColor(0xff, 0x7f, 0x0e), QColor(0xff, 0x7f, 0x0e), 3, false};
constexpr Marker kCount{QColor(0x2c, 0xa0, 0x2c), QColor(0x2c, 0xa0, 0x2c), 3, false};
constexpr Marker kSingle{QColor(0x94, 0x67, 0xbd), QColor(0x4b, 0x2a, 0x6b), 7, true};
constexpr Marker kError{QColor(0xff, 0, 0), QColor(0x80, 0, 0), 8, false};

// A point drawn as a small picture.
QImage MarkerImage(const Marker& marker)
{
    const int side = static_cast<int>(std::ceil(marker.size));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, !marker.square && side > 3);
    painter.setPen(side > 4 ? QPen(marker.border, 1) : QPen(Qt::NoPen));
    painter.setBrush(marker.fill);
    const QRectF box = side > 4 ? QRectF(0.5, 0.5, side - 1, side - 1) : QRectF(0, 0, side, side);
    if (marker.square || side <= 3)
        painter.drawRect(box);
    else
        painter.drawEllipse(box);
    return image;
}

QScatterSeries* PointSeries(const QString& name, const Marker& marker)
{
    auto* series = new QScatterSeries;
    series->setName(name);
    series->setMarkerShape(marker.square ? QScatterSeries::MarkerShapeRectangle : QScatterSeries::MarkerShapeCircle);
    series->setMarkerSize(marker.size);
    series->setColor(marker.fill);
    series->setBorderColor(marker.border);
    return series;
}

// Points closer than this many pixels are drawn as one.
int CellOf(const Marker& marker) { return std::max(2, static_cast<int>(marker.size) / 2); }

// Ticks of a whole-number axis at round values for any range it shows:
// multiples of 1, 2 or 5 times a power of ten, three to five intervals
// across, and never less than 1 apart, so that no two labels read the same.
void RoundTicks(QValueAxis* axis)
{
    const double span = axis->max() - axis->min();
    const double wanted = span > 0 ? span / 4 : 1;
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    double step = 10 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= wanted) {
            step = factor * power;
            break;
        }
    }
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(std::max(1.0, step));
}

// Shifts [min, max] into [low, high], no wider than that; none when inside.
std::optional<std::pair<double, double>> Within(double min, double max, double low, double high)
{
    if (min >= low && max <= high) return std::nullopt;
    const double width = std::min(max - min, high - low);
    const double left = std::clamp(min, low, high - width);
    return std::pair(left, left + width);
}

// The lengths' axis' top for the longest length: linear from 0, or
// logarithmic from 1 to a power of ten.
double LogTop(std::int64_t longest)
{
    const double digits = std::ceil(std::log10(static_cast<double>(std::max<std::int64_t>(longest, 2))));
    return std::pow(10.0, std::max(1.0, digits));
}

} // namespace

OverviewChart::OverviewChart(ScanTableModel* rows, QWidget* parent)
    // Given its chart at once: a chart set later would leave the default one behind.
    : QChartView(new QChart, parent), rows_(rows)
{
    QChart* chart = this->chart();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    // A point smaller than Qt's and no frame around the chart, so that the
    // five names fit in one row at the window's smallest; a name that is cut
    // all the same shows in full as a tooltip.
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    QFont legendFont = chart->legend()->font();
    legendFont.setPointSizeF(std::max(7.0, legendFont.pointSizeF() - 1));
    chart->legend()->setFont(legendFont);
    chart->legend()->setShowToolTips(true);
    chart->setMargins(QMargins(4, 4, 4, 4));

    length1_ = PointSeries(QStringLiteral("Zykellänge Folge 1"), kLength1);
    length2_ = PointSeries(QStringLiteral("Zykellänge Folge 2"), kLength2);
    count_ = PointSeries(QStringLiteral("Anzahl gemeinsamer Reste"), kCount);
    singles_ = PointSeries(QStringLiteral("genau ein gemeinsamer Rest"), kSingle);
    errors_ = PointSeries(QStringLiteral("Laufzeitfehler"), kError);
    for (QScatterSeries* series : {length1_, length2_, count_, singles_, errors_}) chart->addSeries(series);

    modulusAxis_ = new QValueAxis;
    modulusAxis_->setTitleText(QStringLiteral("Modul"));
    modulusAxis_->setLabelFormat(QStringLiteral("%d"));
    linearAxis_ = new QValueAxis;
    linearAxis_->setTitleText(QStringLiteral("Zykellänge"));
    linearAxis_->setLabelFormat(QStringLiteral("%d"));
    logAxis_ = new QLogValueAxis(this);
    logAxis_->setTitleText(QStringLiteral("Zykellänge (logarithmisch)"));
    logAxis_->setLabelFormat(QStringLiteral("%g"));
    logAxis_->setBase(10);
    logAxis_->setMinorTickCount(8);
    countAxis_ = new QValueAxis;
    countAxis_->setTitleText(QStringLiteral("Anzahl gemeinsamer Reste"));
    countAxis_->setLabelFormat(QStringLiteral("%d"));
    // Titles a little smaller than Qt's, so that the right one fits the
    // chart's height at the window's smallest.
    for (QAbstractAxis* axis : std::initializer_list<QAbstractAxis*>{modulusAxis_, linearAxis_, logAxis_, countAxis_}) {
        QFont font = axis->titleFont();
        font.setPointSizeF(std::max(7.0, font.pointSizeF() - 1));
        axis->setTitleFont(font);
    }
    chart->addAxis(modulusAxis_, Qt::AlignBottom);
    chart->addAxis(linearAxis_, Qt::AlignLeft);
    chart->addAxis(countAxis_, Qt::AlignRight);
    for (QAbstractSeries* series : chart->series()) series->attachAxis(modulusAxis_);
    for (QScatterSeries* series : {length1_, length2_, errors_}) series->attachAxis(linearAxis_);
    for (QScatterSeries* series : {count_, singles_}) series->attachAxis(countAxis_);

    setRenderHint(QPainter::Antialiasing, false);
    // A click without a drag still reaches the points.
    setRubberBand(QChartView::RubberBands(QChartView::RectangleRubberBand) | QChartView::ClickThroughRubberBand);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Diagramm aller Moduln"));
    setAccessibleDescription(QStringLiteral("Punkte je Modul: die Zykellängen beider Folgen (linke Achse) und die "
                                            "Anzahl gemeinsamer Reste (rechte Achse); markiert die Moduln mit genau "
                                            "einem gemeinsamen Rest und die mit Laufzeitfehler"));

    layer_ = new PointLayer(chart);
    layer_->setLayer(Count, count_, MarkerImage(kCount));
    layer_->setLayer(Length1, length1_, MarkerImage(kLength1));
    layer_->setLayer(Length2, length2_, MarkerImage(kLength2));
    layer_->setLayer(Single, singles_, MarkerImage(kSingle));
    layer_->setLayer(Error, errors_, MarkerImage(kError));
    connect(layer_, &PointLayer::hovered, this, [this](const QPointF& point, bool entered) {
        ui::AtQtBoundary("hover", [&] { showPoint(point, entered); });
    });
    connect(layer_, &PointLayer::clicked, this,
            [this](const QPointF& point) { emit modulusClicked(static_cast<std::int64_t>(std::llround(point.x()))); });

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(0);
    connect(refreshTimer_, &QTimer::timeout, this, [this] { ui::AtQtBoundary("points", [this] { refresh(); }); });

    for (QValueAxis* axis : {modulusAxis_, linearAxis_, countAxis_}) {
        connect(axis, &QValueAxis::rangeChanged, this, [this, axis] {
            ui::AtQtBoundary("axis", [&] {
                keepInRange();
                RoundTicks(axis);
            });
        });
        connect(axis, &QValueAxis::rangeChanged, this, [this] { axisMoved(); });
    }
    connect(logAxis_, &QLogValueAxis::rangeChanged, this, [this] { ui::AtQtBoundary("axis", [this] { keepInRange(); }); });
    connect(logAxis_, &QLogValueAxis::rangeChanged, this, [this] { axisMoved(); });
    connect(chart, &QChart::plotAreaChanged, this, [this] { scheduleRefresh(); });
    connect(rows_, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        ui::AtQtBoundary("rows", [&] { rowsAdded(first, last); });
    });
    connect(rows_, &QAbstractItemModel::modelReset, this, [this] { ui::AtQtBoundary("rows", [this] { rowsReset(); }); });
    rowsReset();
}

QAbstractAxis* OverviewChart::lengthAxis() const
{
    return logarithmic_ ? static_cast<QAbstractAxis*>(logAxis_) : static_cast<QAbstractAxis*>(linearAxis_);
}

void OverviewChart::showPoint(const QPointF& point, bool entered)
{
    if (!entered) {
        QToolTip::hideText();
        return;
    }
    const auto modulus = static_cast<std::int64_t>(std::llround(point.x()));
    const std::optional<int> at = rows_->find(modulus);
    if (!at) return;
    const QString text = QString::fromStdString(FiguresText(rows_->figures(*at), FiguresLayout::Tooltip));
    QToolTip::showText(QCursor::pos(), text, this);
}

void OverviewChart::setModulusRange(std::int64_t from, std::int64_t to)
{
    from_ = from;
    to_ = std::max(from, to);
    zoomed_ = false;
    fitAxes();
}

void OverviewChart::rowsAdded(int first, int last)
{
    const std::int64_t longest = longest_;
    const std::int64_t most = most_;
    for (int at = first; at <= last; ++at) {
        const RowFigures row = rows_->figures(at);
        longest_ = std::max({longest_, row.length1, row.length2});
        most_ = std::max(most_, row.commonCount);
    }
    if (!zoomed_ && (longest_ != longest || most_ != most)) fitAxes();
    scheduleRefresh();
}

void OverviewChart::rowsReset()
{
    longest_ = 0;
    most_ = 0;
    rowsAdded(0, rows_->rowCount() - 1);
    if (!zoomed_) fitAxes();
    // At once: no point of rows that are gone may stay.
    refreshNow();
}

void OverviewChart::fitAxes()
{
    fitting_ = true;
    // Qt's tick count again before its nice numbers choose their own, and
    // no interval of the old range: over the new one it could mean millions
    // of ticks, laid out before RoundTicks is called.
    for (QValueAxis* axis : {modulusAxis_, linearAxis_, countAxis_}) {
        axis->setTickType(QValueAxis::TicksFixed);
        axis->setTickCount(5);
    }
    modulusAxis_->setRange(static_cast<double>(from_), static_cast<double>(std::max(to_, from_ + 1)));
    modulusAxis_->applyNiceNumbers();
    // Zoom and pan stay within the moduli, or this nicely rounded span of them.
    spanMin_ = modulusAxis_->min();
    spanMax_ = modulusAxis_->max();
    linearAxis_->setRange(0, static_cast<double>(std::max<std::int64_t>(longest_, 1)));
    linearAxis_->applyNiceNumbers();
    logAxis_->setRange(1, LogTop(longest_));
    countAxis_->setRange(0, static_cast<double>(std::max<std::int64_t>(most_, 1)));
    countAxis_->applyNiceNumbers();
    lengthTop_ = linearAxis_->max();
    countTop_ = countAxis_->max();
    for (QValueAxis* axis : {modulusAxis_, linearAxis_, countAxis_}) RoundTicks(axis);
    fitting_ = false;
    scheduleRefresh();
}

void OverviewChart::axisMoved()
{
    if (!fitting_) zoomed_ = true;
    scheduleRefresh();
}

void OverviewChart::keepInRange()
{
    if (fitting_) return;
    // Each call sets at most one axis from inside its own signal; the
    // second call finds it in range.
    if (auto x = Within(modulusAxis_->min(), modulusAxis_->max(), spanMin_, spanMax_))
        return modulusAxis_->setRange(x->first, x->second);
    const double lengths = std::max(lengthTop_, static_cast<double>(longest_));
    if (auto y = Within(linearAxis_->min(), linearAxis_->max(), 0, lengths))
        return linearAxis_->setRange(y->first, y->second);
    if (auto y = Within(countAxis_->min(), countAxis_->max(), 0, std::max(countTop_, static_cast<double>(most_))))
        return countAxis_->setRange(y->first, y->second);
    // The logarithmic axis is shifted by factors, as it is drawn.
    if (auto y = Within(std::log10(logAxis_->min()), std::log10(logAxis_->max()), 0, std::log10(LogTop(longest_))))
        logAxis_->setRange(std::pow(10.0, y->first), std::pow(10.0, y->second));
}

void OverviewChart::resetZoom()
{
    zoomed_ = false;
    fitAxes();
}

void OverviewChart::setLogarithmic(bool logarithmic)
{
    if (logarithmic == logarithmic_) return;
    QChart* chart = this->chart();
    QAbstractAxis* old = lengthAxis();
    logarithmic_ = logarithmic;
    QAbstractAxis* now = lengthAxis();
    for (QScatterSeries* series : {length1_, length2_, errors_}) series->detachAxis(old);
    // Points at 0 have no place on a logarithmic axis; refitting draws them again.
    for (int layer = 0; layer < PointLayer::kLayers; ++layer) layer_->setPoints(layer, {});
    chart->removeAxis(old);
    old->setParent(this); // kept for the way back
    chart->addAxis(now, Qt::AlignLeft);
    for (QScatterSeries* series : {length1_, length2_, errors_}) series->attachAxis(now);
    zoomed_ = false;
    fitAxes();
}

const QList<QPointF>& OverviewChart::points(Points which) const { return layer_->points(which); }

void OverviewChart::scheduleRefresh() { refreshTimer_->start(); }

void OverviewChart::refreshNow()
{
    refreshTimer_->stop();
    refresh();
}

void OverviewChart::refresh()
{
    const QRectF area = chart()->plotArea();
    const int width = std::max(1, static_cast<int>(area.width()));
    const int height = std::max(1, static_cast<int>(area.height()));
    const double xMin = modulusAxis_->min();
    const double xMax = modulusAxis_->max();
    const double yMin = logarithmic_ ? logAxis_->min() : linearAxis_->min();
    const double yMax = logarithmic_ ? logAxis_->max() : linearAxis_->max();
    const auto grid = [&](const Marker& marker, double low, double high, bool logY) {
        return PixelGrid{xMin, xMax, low, high, width, height, CellOf(marker), logY};
    };
    PointThinner one(grid(kLength1, yMin, yMax, logarithmic_));
    PointThinner two(grid(kLength2, yMin, yMax, logarithmic_));
    PointThinner count(grid(kCount, countAxis_->min(), countAxis_->max(), false));
    PointThinner single(grid(kSingle, countAxis_->min(), countAxis_->max(), false));
    PointThinner error(grid(kError, yMin, yMax, logarithmic_));

    const KeptRows& rows = rows_->kept();
    // The first row at or right of the axis' left end.
    std::size_t low = 0;
    std::size_t high = rows.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (static_cast<double>(rows.modulus(middle)) < xMin)
            low = middle + 1;
        else
            high = middle;
    }
    for (std::size_t at = low; at < rows.size() && static_cast<double>(rows.modulus(at)) <= xMax; ++at) {
        const RowFigures row = rows.figures(at);
        const auto x = static_cast<double>(row.modulus);
        if (row.failed()) {
            // No figures: on the lengths' lower edge.
            error.add(x, yMin);
            continue;
        }
        one.add(x, static_cast<double>(row.length1));
        two.add(x, static_cast<double>(row.length2));
        count.add(x, static_cast<double>(row.commonCount));
        if (rows.singleCommon(at)) single.add(x, 1);
    }
    layer_->setPoints(Length1, one.take());
    layer_->setPoints(Length2, two.take());
    layer_->setPoints(Count, count.take());
    layer_->setPoints(Single, single.take());
    layer_->setPoints(Error, error.take());
    layer_->place();
}

void OverviewChart::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    scheduleRefresh();
}

void OverviewChart::wheelEvent(QWheelEvent* event)
{
    ui::AtQtBoundary("wheel", [&] {
        const int steps = event->angleDelta().y();
        if (steps == 0) return QChartView::wheelEvent(event);
        chart()->zoom(steps > 0 ? 1.25 : 0.8);
        refreshNow();
        event->accept();
    });
}

void OverviewChart::keyPressEvent(QKeyEvent* event)
{
    ui::AtQtBoundary("key", [&] {
        const qreal step = chart()->plotArea().width() / 10;
        const qreal rise = chart()->plotArea().height() / 10;
        switch (event->key()) {
        case Qt::Key_Home: resetZoom(); break;
        case Qt::Key_Left: chart()->scroll(-step, 0), refreshNow(); break;
        case Qt::Key_Right: chart()->scroll(step, 0), refreshNow(); break;
        case Qt::Key_Up: chart()->scroll(0, rise), refreshNow(); break;
        case Qt::Key_Down: chart()->scroll(0, -rise), refreshNow(); break;
        default: QChartView::keyPressEvent(event); return;
        }
        event->accept();
    });
}

} // namespace fibmod::overview
