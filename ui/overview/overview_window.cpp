// SPDX-License-Identifier: MIT
// The window "Übersicht": chart, table, recomputing and saving.
#include "ui/overview/overview_window.h"

#include <exception>

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "core/scan_csv.h"
#include "ui/form1.h"
#include "ui/overview/overview_chart.h"
#include "ui/overview/qt_boundary.h"
#include "ui/overview/scan_filter_model.h"
#include "ui/overview/scan_runner.h"
#include "ui/overview/scan_table_model.h"

namespace fibmod::overview {

namespace {

// After the last key in an input field, the overview waits this long.
constexpr int kPauseMs = 300;
const char* const kGeometryKey = "overview/geometry";

QSettings Settings() { return QSettings(QStringLiteral("fibmod"), QStringLiteral("fibmod")); }

} // namespace

OverviewWindow::OverviewWindow(Form1& main) : QWidget(&main, Qt::Window), main_(main)
{
    setObjectName(QStringLiteral("Overview"));
    setWindowTitle(QStringLiteral("Übersicht"));
    setAccessibleName(QStringLiteral("Übersicht aller Moduln"));
    buildControls();
    wireControls();
    // The first time, it opens beside the main window.
    if (!restoreGeometry(Settings().value(QLatin1String(kGeometryKey)).toByteArray())) {
        resize(1000, 720);
        move(main_.frameGeometry().topRight() + QPoint(8, 0));
    }
    start(ReadInputTexts(main_));
}

OverviewWindow::~OverviewWindow() { saveGeometryNow(); }

void OverviewWindow::buildControls()
{
    model_ = new ScanTableModel(this);
    table_ = new ScanFilterModel(model_, ScanFilterModel::Rows::All, this);
    singles_ = new ScanFilterModel(model_, ScanFilterModel::Rows::SingleCommon, this);
    errors_ = new ScanFilterModel(model_, ScanFilterModel::Rows::Errors, this);
    runner_ = new ScanRunner(this);

    chart_ = new OverviewChart(model_, singles_, errors_);

    view_ = new QTableView;
    view_->setModel(table_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(ScanTableModel::Modulus, Qt::AscendingOrder);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setAlternatingRowColors(true);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setStretchLastSection(true);
    for (auto [column, width] : {std::pair{ScanTableModel::Modulus, 60}, std::pair{ScanTableModel::Length1, 130},
                                 std::pair{ScanTableModel::Length2, 130}, std::pair{ScanTableModel::CommonCount, 170},
                                 std::pair{ScanTableModel::Residues, 240}}) {
        view_->setColumnWidth(column, width);
    }
    view_->setAccessibleName(QStringLiteral("Tabelle aller Moduln"));
    view_->setToolTip(QStringLiteral("Doppelklick zeigt den Modul im Hauptfenster"));

    onlySingle_ = new QCheckBox(QStringLiteral("nur genau ein gemeinsamer Rest"));
    onlySingle_->setAccessibleName(onlySingle_->text());
    resetZoom_ = new QPushButton(QStringLiteral("Zoom zurücksetzen"));
    resetZoom_->setAccessibleName(resetZoom_->text());
    resetZoom_->setToolTip(QStringLiteral("Zeigt wieder alle Moduln (Taste Pos1 im Diagramm)"));
    saveCsv_ = new QPushButton(QStringLiteral("Als CSV speichern …"));
    saveCsv_->setAccessibleName(QStringLiteral("Als CSV speichern"));
    savePng_ = new QPushButton(QStringLiteral("Diagramm als PNG speichern …"));
    savePng_->setAccessibleName(QStringLiteral("Diagramm als PNG speichern"));
    saveCsv_->setEnabled(false);
    savePng_->setEnabled(false);
    progress_ = new QProgressBar;
    progress_->setAccessibleName(QStringLiteral("Fortschritt der Berechnung"));
    progress_->setFormat(QStringLiteral("%v von %m Moduln"));
    status_ = new QLabel;
    status_->setAccessibleName(QStringLiteral("Ergebnis"));

    auto* tableSide = new QWidget;
    auto* tableLayout = new QVBoxLayout(tableSide);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(onlySingle_);
    filterRow->addStretch();
    filterRow->addWidget(status_);
    tableLayout->addLayout(filterRow);
    tableLayout->addWidget(view_);

    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(chart_);
    split->addWidget(tableSide);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({400, 270});
    split->setChildrenCollapsible(false);

    auto* commands = new QHBoxLayout;
    commands->addWidget(resetZoom_);
    commands->addWidget(saveCsv_);
    commands->addWidget(savePng_);
    commands->addStretch();
    commands->addWidget(progress_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(commands);

    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(kPauseMs);
}

void OverviewWindow::wireControls()
{
    connect(&main_, &Form1::inputChanged, this, [this] {
        if (isVisible()) pause_->start();
    });
    // The main window's own procedures run first; the scan waits meanwhile.
    connect(&main_, &Form1::busyChanged, runner_, &ScanRunner::hold);
    connect(pause_, &QTimer::timeout, this, [this] { guarded([this] { recomputeIfChanged(); }); });
    connect(runner_, &ScanRunner::progress, this, [this](int done, int total) {
        guarded([&] {
            progress_->setMaximum(total);
            progress_->setValue(done);
        });
    });
    connect(runner_, &ScanRunner::finished, this,
            [this](std::uint64_t generation, const std::vector<ScanRow>& rows) {
                guarded([&] { display(generation, rows); });
            });
    connect(onlySingle_, &QCheckBox::toggled, this, [this](bool only) {
        guarded([&] { table_->setRows(only ? ScanFilterModel::Rows::SingleCommon : ScanFilterModel::Rows::All); });
    });
    connect(view_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { guarded([&] { onDoubleClick(index); }); });
    connect(view_, &QTableView::activated, this,
            [this](const QModelIndex& index) { guarded([&] { onDoubleClick(index); }); });
    connect(chart_, &OverviewChart::modulusClicked, this,
            [this](int modulus) { guarded([&] { showModulus(modulus); }); });
    connect(resetZoom_, &QPushButton::clicked, this, [this] { guarded([this] { chart_->resetZoom(); }); });
    connect(saveCsv_, &QPushButton::clicked, this, [this] { guarded([this] { saveCsv(); }); });
    connect(savePng_, &QPushButton::clicked, this, [this] { guarded([this] { savePng(); }); });
}

// Every slot entered from Qt runs through here: nothing is thrown into Qt.
template <class Action> void OverviewWindow::guarded(Action&& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        tell(QStringLiteral("Interner Fehler: %1").arg(QString::fromUtf8(error.what())));
    } catch (...) {
        tell(QStringLiteral("Interner Fehler"));
    }
}

void OverviewWindow::setPathQuestion(PathQuestion ask) { pathQuestion_ = std::move(ask); }

void OverviewWindow::setMessageHook(std::function<void(const QString&)> hook) { messageHook_ = std::move(hook); }

const std::vector<ScanRow>& OverviewWindow::rows() const { return model_->rows(); }

bool OverviewWindow::computing() const { return runner_->running(); }

void OverviewWindow::waitForWorker() { runner_->waitForWorkers(); }

void OverviewWindow::recomputeIfChanged()
{
    HeldInputTexts now = ReadInputTexts(main_);
    if (now == inputs_) return;
    start(std::move(now));
}

void OverviewWindow::start(HeldInputTexts inputs)
{
    inputs_ = inputs;
    status_->setText(QStringLiteral("wird berechnet …"));
    runner_->start(std::move(inputs));
}

void OverviewWindow::display(std::uint64_t, const std::vector<ScanRow>& rows)
{
    model_->setRows(rows);
    status_->setText(QStringLiteral("%1 Moduln, %2 mit genau einem gemeinsamen Rest, %3 mit Laufzeitfehler")
                         .arg(model_->rowCount())
                         .arg(singles_->rowCount())
                         .arg(errors_->rowCount()));
    saveCsv_->setEnabled(true);
    savePng_->setEnabled(true);
    emit rowsShown();
}

void OverviewWindow::onDoubleClick(const QModelIndex& index)
{
    if (!index.isValid()) return;
    const QModelIndex source = table_->mapToSource(index);
    showModulus(model_->rowAt(source.row()).modulus);
}

void OverviewWindow::showModulus(int modulus)
{
    // As a user's scroll: the scroll bar's own signal runs the window's procedures.
    if (auto* scroll = main_.findChild<QScrollBar*>(QStringLiteral("HScroll1"))) scroll->setValue(modulus);
}

QString OverviewWindow::askPath(const QString& caption, const QString& suggested, const QString& filter)
{
    if (pathQuestion_) return pathQuestion_(caption, suggested, filter);
    return QFileDialog::getSaveFileName(this, caption, suggested, filter);
}

void OverviewWindow::tell(const QString& text)
{
    if (messageHook_) {
        messageHook_(text);
        return;
    }
    QMessageBox::warning(this, windowTitle(), text);
}

void OverviewWindow::saveCsv()
{
    const QString path = askPath(QStringLiteral("Als CSV speichern"), QStringLiteral("fibmod-moduln.csv"),
                                 QStringLiteral("CSV-Dateien (*.csv);;Alle Dateien (*)"));
    if (path.isEmpty()) return;
    const std::string csv = ScanCsv(rows());
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size()) &&
                         file.commit();
    if (!written) {
        tell(QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: %2").arg(path, file.errorString()));
    }
}

void OverviewWindow::savePng()
{
    const QString path = askPath(QStringLiteral("Diagramm als PNG speichern"), QStringLiteral("fibmod-moduln.png"),
                                 QStringLiteral("PNG-Bilder (*.png);;Alle Dateien (*)"));
    if (path.isEmpty()) return;
    const QPixmap picture = chart_->grab();
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit();
    if (!written) {
        tell(QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: %2").arg(path, file.errorString()));
    }
}

void OverviewWindow::saveGeometryNow() { Settings().setValue(QLatin1String(kGeometryKey), saveGeometry()); }

void OverviewWindow::closeEvent(QCloseEvent* event)
{
    saveGeometryNow();
    event->accept();
}

OverviewWindow* OpenOverview(Form1& main)
{
    auto* window = main.findChild<OverviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (window == nullptr)
        window = new OverviewWindow(main);
    else
        window->recomputeIfChanged();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void OfferOverview(Form1& main)
{
    QObject::connect(&main, &Form1::overviewRequested, &main,
                     [&main] { AtQtBoundary("overview", [&main] { OpenOverview(main); }); });
}

} // namespace fibmod::overview
