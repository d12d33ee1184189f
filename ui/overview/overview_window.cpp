// SPDX-License-Identifier: MIT
// The window "Übersicht": its controls, their wiring, recomputing, and the hand-over to saving.
#include "ui/overview/overview_window.h"

#include <algorithm>
#include <exception>
#include <limits>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "core/engine/modulus_range.h"
#include "core/window/input_fields.h"
#include "ui/form1.h"
#include "ui/accessibility.h"
#include "ui/native_window_watch.h"
#include "ui/qt_boundary.h"
#include "ui/overview/overview_chart.h"
#include "ui/overview/overview_settings.h"
#include "ui/overview/overview_texts.h"
#include "ui/overview/placement.h"
#include "ui/overview/plain_icon_provider.h"
#include "ui/overview/saving.h"
#include "ui/overview/scan_filter_model.h"
#include "ui/overview/scan_runner.h"
#include "ui/overview/scan_table_model.h"
#include "ui/overview/term_bound_box.h"

namespace fibmod::overview {

namespace {

// The size the overview asks for the first time, frame included.
constexpr QSize kFirstSize(1000, 720);
// Down to this the chart's axis titles and ticks stay whole (the right
// axis' title needs the chart's height) and the table shows five rows
// under a hint of two lines; with its title bar it fits an 800 x 600 screen.
constexpr QSize kMinimumSize(760, 560);
constexpr int kChartMinimumHeight = 255;
// The table gives way to the chart down to this many rows.
constexpr int kTableMinimumRows = 5;

QString Text(const std::string& text) { return QString::fromStdString(text); }

QSpinBox* RangeBox(const QString& name, int minimum, int maximum)
{
    auto* box = new QSpinBox;
    box->setRange(minimum, maximum);
    box->setAccessibleName(name);
    box->setKeyboardTracking(true);
    box->setGroupSeparatorShown(false);
    return box;
}

QLabel* LabelFor(const QString& text, QWidget* box)
{
    auto* label = new QLabel(text);
    label->setBuddy(box);
    return label;
}

} // namespace

OverviewWindow::OverviewWindow(Form1& main, OverviewTuning tuning)
    : QWidget(&main, Qt::Window), main_(main), tuning_(std::move(tuning))
{
    setObjectName(QStringLiteral("Overview"));
    setWindowTitle(QStringLiteral("Übersicht"));
    setAccessibleName(QStringLiteral("Übersicht aller Moduln"));
    fibmod::ui::PresentAsWindow(*this);
    setMinimumSize(kMinimumSize);
    buildControls();
    restoreRange();
    wireControls();
    place();
    // The window system may destroy the window without a close.
    nativeWatch_ = std::make_unique<fibmod::ui::NativeWindowWatch>(
        *this, [this] { guarded([this] { windowDestroyed(); }); });
    start(request());
}

OverviewWindow::~OverviewWindow() { ui::AtQtBoundary("settings", [this] { saveSettings(); }); }

void OverviewWindow::buildControls()
{
    model_ = new ScanTableModel(tuning_.residues, this);
    table_ = new ScanFilterModel(model_, ScanFilterModel::Rows::All, tuning_.sortedMerge, this);
    runner_ = new ScanRunner(tuning_.scan, this);

    chart_ = new OverviewChart(model_);
    chart_->setMinimumHeight(kChartMinimumHeight);

    view_ = new QTableView;
    view_->setModel(table_);
    view_->setSortingEnabled(true);
    view_->sortByColumn(ScanTableModel::Modulus, Qt::AscendingOrder);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table; the arrow keys move inside it.
    view_->setTabKeyNavigation(false);
    view_->setAlternatingRowColors(true);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->setMinimumHeight(view_->horizontalHeader()->sizeHint().height() +
                            kTableMinimumRows * view_->verticalHeader()->defaultSectionSize() +
                            view_->horizontalScrollBar()->sizeHint().height() + 2 * view_->frameWidth());
    view_->horizontalHeader()->setStretchLastSection(true);
    // Each column as wide as its header needs, and the numbers' columns as
    // wide as a seven-digit number.
    QHeaderView* header = view_->horizontalHeader();
    const int digits = view_->fontMetrics().horizontalAdvance(QStringLiteral("00000000"));
    for (int column = 0; column < ScanTableModel::ColumnCount; ++column) {
        const int wanted = column == ScanTableModel::Residues ? 240 : digits;
        view_->setColumnWidth(column, std::max(wanted, header->sectionSizeHint(column) + 8));
    }
    view_->setAccessibleName(QStringLiteral("Tabelle aller Moduln"));
    view_->setToolTip(QStringLiteral("Klick zeigt die Zahlen des Moduls unter dem Diagramm, "
                                     "Doppelklick zeigt ihn im Hauptfenster (bis %1)")
                          .arg(kModulusMax));

    from_ = RangeBox(QStringLiteral("von"), kModulusMin, kOverviewModulusMax);
    to_ = RangeBox(QStringLiteral("bis"), kModulusMin, kOverviewModulusMax);
    maxTerms_ = new TermBoundBox;
    maxTerms_->setAccessibleName(QStringLiteral("max. Glieder"));
    maxTerms_->setKeyboardTracking(true);
    maxTerms_->setGroupSeparatorShown(false);
    maxTerms_->setToolTip(QStringLiteral("Die meisten Glieder eines Zyklus; 0 oder „unbegrenzt“ für keine Grenze "
                                         "(nur mit ganzen Zahlen als Eingaben)"));
    logarithmic_ = new QCheckBox(QStringLiteral("logarithmisch"));
    logarithmic_->setAccessibleName(logarithmic_->text());
    logarithmic_->setToolTip(QStringLiteral("Zykellängen auf logarithmischer Achse"));
    // The three lines below say their present text to assistive technology:
    // no fixed name stands in for it.
    problem_ = new QLabel;
    problem_->setAccessibleDescription(QStringLiteral("Hinweis"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00000;"));
    problem_->hide();

    onlySingle_ = new QCheckBox(QStringLiteral("nur genau ein gemeinsamer Rest"));
    onlySingle_->setAccessibleName(onlySingle_->text());
    cancel_ = new QPushButton(QStringLiteral("Abbrechen"));
    cancel_->setAccessibleName(cancel_->text());
    cancel_->setToolTip(QStringLiteral("Hält die Berechnung an; die Zeilen bis dahin bleiben"));
    cancel_->setEnabled(false);
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
    progress_->setMinimumWidth(view_->fontMetrics().horizontalAdvance(QStringLiteral("0000000 von 0000000 Moduln")));
    status_ = new QLabel;
    status_->setAccessibleDescription(QStringLiteral("Ergebnis"));
    status_->setWordWrap(true);
    detail_ = new QLabel;
    detail_->setAccessibleDescription(QStringLiteral("Einzelheiten"));
    detail_->setWordWrap(true);
    detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* rangeRow = new QHBoxLayout;
    for (auto [text, box] : {std::pair{QStringLiteral("von"), from_}, std::pair{QStringLiteral("bis"), to_},
                             std::pair{QStringLiteral("max. Glieder"), maxTerms_}}) {
        rangeRow->addWidget(LabelFor(text, box));
        rangeRow->addWidget(box);
        rangeRow->addSpacing(8);
    }
    rangeRow->addWidget(logarithmic_);
    rangeRow->addStretch(1);

    auto* chartSide = new QWidget;
    auto* chartLayout = new QVBoxLayout(chartSide);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(chart_, 1);
    chartLayout->addWidget(detail_);

    auto* tableSide = new QWidget;
    auto* tableLayout = new QVBoxLayout(tableSide);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    tableLayout->addWidget(onlySingle_);
    tableLayout->addWidget(view_);

    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(chartSide);
    split->addWidget(tableSide);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({400, 250});
    split->setChildrenCollapsible(false);

    auto* commands = new QHBoxLayout;
    commands->addWidget(resetZoom_);
    commands->addWidget(saveCsv_);
    commands->addWidget(savePng_);
    commands->addStretch();
    commands->addWidget(cancel_);
    commands->addWidget(progress_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rangeRow);
    layout->addWidget(split, 1);
    layout->addLayout(commands);
    // The hint takes the whole width, and the summary's place when shown (see refuse).
    layout->addWidget(problem_);
    layout->addWidget(status_);

    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(tuning_.pause);
}

void OverviewWindow::restoreRange()
{
    const OverviewSettings kept = LoadOverviewSettings();
    from_->setValue(kept.from);
    to_->setValue(kept.to);
    maxTerms_->setValue(kept.maxTerms);
    logarithmic_->setChecked(kept.logarithmic);
    chart_->setLogarithmic(logarithmic_->isChecked());
}

void OverviewWindow::wireControls()
{
    connect(&main_, &Form1::inputChanged, this, [this] {
        guarded([this] {
            if (isVisible()) changed();
        });
    });
    // The main window's own procedures run first; the scan waits meanwhile.
    connect(&main_, &Form1::busyChanged, runner_, &ScanRunner::hold);
    // Every way out keeps the window's place.
    connect(&main_, &Form1::ending, this, [this] { guarded([this] { saveSettings(); }); });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { guarded([this] { saveSettings(); }); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { guarded([this] { saveSettings(); }); });
    for (QSpinBox* box : {from_, to_, maxTerms_}) {
        connect(box, &QSpinBox::valueChanged, this, [this] {
            guarded([this] {
                SaveOverviewRange(from_->value(), to_->value(), maxTerms_->value());
                changed();
            });
        });
    }
    connect(pause_, &QTimer::timeout, this, [this] { guarded([this] { recomputeIfChanged(); }); });
    connect(runner_, &ScanRunner::rowsArrived, this,
            [this](const std::vector<ScanRow>& rows, std::int64_t done, std::int64_t total) {
                guarded([&] { arrived(rows, done, total); });
            });
    connect(runner_, &ScanRunner::finished, this, [this] { guarded([this] { finish(); }); });
    connect(cancel_, &QPushButton::clicked, this, [this] { guarded([this] { cancel(); }); });
    connect(onlySingle_, &QCheckBox::toggled, this, [this](bool only) {
        guarded([&] { table_->setRows(only ? ScanFilterModel::Rows::SingleCommon : ScanFilterModel::Rows::All); });
    });
    connect(logarithmic_, &QCheckBox::toggled, this, [this](bool on) {
        guarded([&] {
            chart_->setLogarithmic(on);
            SaveLogarithmic(on);
        });
    });
    connect(view_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { guarded([&] { onTableClick(index, false); }); });
    connect(view_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { guarded([&] { onTableClick(index, true); }); });
    connect(view_, &QTableView::activated, this,
            [this](const QModelIndex& index) { guarded([&] { onTableClick(index, true); }); });
    connect(chart_, &OverviewChart::modulusClicked, this,
            [this](std::int64_t modulus) { guarded([&] { showModulus(modulus); }); });
    connect(resetZoom_, &QPushButton::clicked, this, [this] { guarded([this] { chart_->resetZoom(); }); });
    connect(saveCsv_, &QPushButton::clicked, this, [this] { guarded([this] { saveCsv(); }); });
    connect(savePng_, &QPushButton::clicked, this, [this] { guarded([this] { savePng(); }); });
}

// Inside the screen's free area: where it was last time if that is still on
// a screen (moved inside it when mostly off it), else beside the main window where there is room, else over it.
void OverviewWindow::place()
{
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
    const QByteArray saved = LoadOverviewGeometry();
    const std::optional<QRect> frame = SavedFrame(saved);
    if (frame && OnSomeScreen(*frame, screens) && restoreGeometry(saved)) {
        const QScreen* screen = QGuiApplication::screenAt(frame->center());
        if (screen == nullptr) screen = main_.screen();
        resize(size().boundedTo(screen->availableGeometry().size()));
        // A place mostly off the screen comes back inside it.
        const QRect inside = KeptMostlyInside(frameGeometry(), screen->availableGeometry());
        if (inside.topLeft() != frameGeometry().topLeft()) move(inside.topLeft());
        return;
    }
    // The frame the window system draws around it, taken from the main window's.
    const QRect outer = main_.frameGeometry();
    const QRect inner = main_.geometry();
    const QMargins margins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                           outer.bottom() - inner.bottom());
    const QRect placed = PlaceBeside(outer, kFirstSize, main_.screen()->availableGeometry());
    setGeometry(placed.marginsRemoved(margins));
}

OverviewWindow::Request OverviewWindow::request()
{
    Request now{ReadInputTexts(main_), {from_->value(), to_->value()}, std::nullopt};
    if (maxTerms_->value() > 0) now.maxTerms = maxTerms_->value();
    return now;
}

// Shows why the request is refused, and neither progress nor summary of an
// earlier scan, whichever box brought the refusal.
void OverviewWindow::refuse(const QString& why)
{
    problem_->setText(why);
    // The hint and the summary share one line: one of them is shown.
    problem_->setVisible(!why.isEmpty());
    status_->setVisible(why.isEmpty());
    if (why.isEmpty()) return;
    progress_->reset();
    status_->clear();
}

void OverviewWindow::changed()
{
    const Request now = request();
    if (shown_ && now == *shown_) {
        pause_->stop();
        return;
    }
    clearRows();
    refuse(Text(Refusal(now.inputs.texts(), now.range, now.maxTerms)));
    if (problem_->text().isEmpty()) pause_->start();
}

void OverviewWindow::clearRows()
{
    runner_->stop();
    shown_.reset();
    cancelled_ = false;
    model_->setRows({});
    detail_->clear();
    progress_->setValue(0);
    cancel_->setEnabled(false);
    saveCsv_->setEnabled(false);
    savePng_->setEnabled(false);
    updateSummary();
}

void OverviewWindow::recomputeIfChanged()
{
    const Request now = request();
    if (shown_ && now == *shown_) return;
    start(now);
}

void OverviewWindow::start(Request request)
{
    pause_->stop();
    clearRows();
    shown_ = request;
    refuse(Text(Refusal(request.inputs.texts(), request.range, request.maxTerms)));
    if (!problem_->text().isEmpty()) return;
    // A row kept without its residues gets them from the engine again, as
    // the scan computed it.
    model_->setRows({}, [inputs = request.inputs, maxTerms = request.maxTerms](std::int64_t modulus) {
        ScanOptions options;
        options.maxTerms = maxTerms;
        options.threads = 1;
        ScanRow row;
        ScanRows(inputs.texts(), {modulus, modulus}, options, [&row](ScanRow&& found) { row = std::move(found); });
        return row;
    });
    chart_->setModulusRange(request.range.from, request.range.to);
    progress_->setRange(0, static_cast<int>(request.range.to - request.range.from + 1));
    runner_->start(std::move(request.inputs), request.range, request.maxTerms);
    cancel_->setEnabled(true);
    updateSummary();
}

void OverviewWindow::cancel()
{
    if (!runner_->running()) return;
    runner_->stop();
    cancelled_ = true;
    table_->catchUp();
    cancel_->setEnabled(false);
    saveCsv_->setEnabled(true);
    savePng_->setEnabled(true);
    updateSummary();
}

void OverviewWindow::arrived(const std::vector<ScanRow>& rows, std::int64_t done, std::int64_t)
{
    model_->appendRows(rows);
    progress_->setValue(static_cast<int>(done));
    updateSummary();
    // The bar paints its new count at once; the summary with it, so that
    // the two never show different counts, however busy the loop is.
    status_->repaint();
}

void OverviewWindow::finish()
{
    // A sorted table shows the rows still waiting to be merged in at once.
    table_->catchUp();
    cancel_->setEnabled(false);
    saveCsv_->setEnabled(true);
    savePng_->setEnabled(true);
    progress_->setValue(progress_->maximum());
    updateSummary();
    emit rowsShown();
}

void OverviewWindow::updateSummary()
{
    const ScanState state = runner_->running() ? ScanState::Computing
                            : cancelled_       ? ScanState::Cancelled
                                               : ScanState::Done;
    status_->setText(Text(Summary(model_->rowCount(), model_->tally(), state)));
}

bool OverviewWindow::computing() const { return runner_->running(); }

void OverviewWindow::setPathQuestion(PathQuestion ask) { pathQuestion_ = std::move(ask); }

void OverviewWindow::setMessageHook(std::function<void(const QString&)> hook) { messageHook_ = std::move(hook); }

void OverviewWindow::onTableClick(const QModelIndex& index, bool doubleClick)
{
    if (!index.isValid()) return;
    const std::int64_t modulus = model_->figures(table_->mapToSource(index).row()).modulus;
    if (doubleClick)
        showModulus(modulus);
    else
        showDetail(modulus);
}

void OverviewWindow::showModulus(std::int64_t modulus)
{
    showDetail(modulus);
    // As a user's scroll: the scroll bar's own signal runs the window's procedures.
    if (modulus >= kModulusMin && modulus <= kModulusMax) main_.moveScrollBar(static_cast<int>(modulus));
}

void OverviewWindow::showDetail(std::int64_t modulus)
{
    const std::optional<int> at = model_->find(modulus);
    if (!at || !shown_) {
        detail_->clear();
        return;
    }
    // The whole row: residues not kept are computed again here.
    detail_->setText(Text(DetailText(model_->row(*at), shown_->maxTerms)));
}

void OverviewWindow::windowDestroyed()
{
    saveSettings();
    // F2 then opens a new overview; this one goes once its handler returned.
    setObjectName(QStringLiteral("OverviewDestroyed"));
    runner_->stop();
    deleteLater();
}

QString OverviewWindow::askPath(const QString& caption, const QString& suggested, const QString& filter)
{
    if (pathQuestion_) return pathQuestion_(caption, suggested, filter);
    // Qt's own dialog would read the first bytes of every file it lists.
    PlainIconProvider icons;
    QFileDialog dialog(this, caption, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setIconProvider(&icons);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

// Every slot entered from Qt runs through here: nothing is thrown into Qt.
template <class Action> void OverviewWindow::guarded(Action&& action)
{
    ui::AtQtBoundary(std::forward<Action>(action), [this](const QString& text) { tell(text); });
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
    if (path.isEmpty() || !shown_) return;
    const SaveOutcome saved = SaveRowsCsv(this, path, *model_, {shown_->inputs, shown_->range.from, shown_->maxTerms});
    if (!saved.failure.isEmpty()) tell(saved.failure);
}

void OverviewWindow::savePng()
{
    const QString path = askPath(QStringLiteral("Diagramm als PNG speichern"), QStringLiteral("fibmod-moduln.png"),
                                 QStringLiteral("PNG-Bilder (*.png);;Alle Dateien (*)"));
    if (path.isEmpty()) return;
    const SaveOutcome saved = SavePicturePng(path, chart_->grab());
    if (!saved.failure.isEmpty()) tell(saved.failure);
}

void OverviewWindow::saveSettings()
{
    SaveOverviewGeometry(saveGeometry());
    SaveOverviewRange(from_->value(), to_->value(), maxTerms_->value());
    SaveLogarithmic(logarithmic_->isChecked());
}

void OverviewWindow::closeEvent(QCloseEvent* event)
{
    guarded([this] { saveSettings(); });
    event->accept();
}

OverviewWindow* OpenOverview(Form1& main, const OverviewTuning& tuning)
{
    auto* window = main.findChild<OverviewWindow*>(QStringLiteral("Overview"), Qt::FindDirectChildrenOnly);
    if (window == nullptr)
        window = new OverviewWindow(main, tuning);
    else
        window->recomputeIfChanged();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void OfferOverview(Form1& main, OverviewTuning tuning)
{
    QObject::connect(&main, &Form1::overviewRequested, &main, [&main, tuning = std::move(tuning)] {
        ui::AtQtBoundary("overview", [&] { OpenOverview(main, tuning); });
    });
}

} // namespace fibmod::overview
