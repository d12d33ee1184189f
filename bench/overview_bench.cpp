// SPDX-License-Identifier: MIT
// Timings of the overview on Qt's offscreen platform: from F2 until the
// chart and the table show every modulus, the scan of 2 … 100,000 beside the
// engine's own, how late the main window answers meanwhile, a frame of zoom
// and pan with 100,000 moduli, and the main window's run for a modulus
// change with and without the overview's scan beside it, the memory of
// 2 … 1,000,000 moduli, and a long scan with the table sorted meanwhile.
#include <algorithm>
#include <chrono>

#include <QApplication>
#include <QChart>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPixmap>
#include <QScatterSeries>
#include <QSettings>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"
#include "core/window/field_roles.h"
#include "ui/form1.h"
#include "ui/overview/overview_chart.h"
#include "ui/overview/overview_window.h"
#include "ui/overview/scan_table_model.h"

namespace {

using fibmod::overview::OverviewWindow;

// Waits until the overview shows the last row of its scan.
void WaitUntilShown(OverviewWindow& window)
{
    if (!window.computing()) return;
    QEventLoop shown;
    QObject::connect(&window, &OverviewWindow::rowsShown, &shown, &QEventLoop::quit);
    shown.exec();
}

// F2 with the design-time inputs until every row is in the table and the
// chart, and the window has been drawn once.
void OverviewFromF2(benchmark::State& bench)
{
    Form1 form;
    fibmod::overview::OfferOverview(form);
    form.show();
    for (auto _ : bench) {
        emit form.overviewRequested();
        auto* window = form.findChild<OverviewWindow*>();
        QEventLoop shown;
        QObject::connect(window, &OverviewWindow::rowsShown, &shown, &QEventLoop::quit);
        shown.exec();
        window->grab();
        bench.PauseTiming();
        if (static_cast<std::size_t>(window->model()->rowCount()) != 1999) bench.SkipWithError("not every modulus shown");
        delete window;
        bench.ResumeTiming();
    }
}
BENCHMARK(OverviewFromF2)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true)->UseRealTime();

// The main window's run for the modulus 1999, after r of sequence 1 was
// changed (which runs nothing in the main window). With `beside` set, the
// overview is open and scans the changed inputs (2 … 20,000, long enough to
// outlast the run) while the main window runs; runs_without_scan counts the
// runs the scan had ended before.
void MainWindowRun(benchmark::State& bench, bool beside)
{
    Form1 form;
    form.show();
    OverviewWindow* window = beside ? fibmod::overview::OpenOverview(form) : nullptr;
    if (window != nullptr) {
        for (QSpinBox* box : window->findChildren<QSpinBox*>())
            if (box->accessibleName() == QStringLiteral("bis")) box->setValue(20000);
        window->recomputeIfChanged();
        WaitUntilShown(*window);
    }
    double withoutScan = 0;
    QCoreApplication::processEvents();
    bool odd = false;
    for (auto _ : bench) {
        bench.PauseTiming();
        form.moveScrollBar(2);
        odd = !odd;
        form.setText(fibmod::kSequence1Fields.r, odd ? "5" : "6");
        if (window != nullptr) window->recomputeIfChanged();
        // The overview repaints its progress over a few turns of the event
        // loop; those belong to the input change, not to the run timed next.
        for (int turn = 0; turn < 5; ++turn) QCoreApplication::processEvents();
        if (window != nullptr && !window->computing()) ++withoutScan;
        bench.ResumeTiming();
        form.moveScrollBar(1999);
        QCoreApplication::processEvents();
        bench.PauseTiming();
        if (window != nullptr) {
            WaitUntilShown(*window);
            QCoreApplication::processEvents();
        }
        bench.ResumeTiming();
    }
    bench.counters["runs_without_scan"] = withoutScan;
}
BENCHMARK_CAPTURE(MainWindowRun, alone, false)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK_CAPTURE(MainWindowRun, beside_overview_scan, true)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();

constexpr fibmod::ModulusRange kWide{2, 100000};

// The overview's range controls set to 2 … 100,000 with no term bound.
void SetWideRange(OverviewWindow& window)
{
    for (QSpinBox* box : window.findChildren<QSpinBox*>()) {
        if (box->accessibleName() == QStringLiteral("bis")) box->setValue(static_cast<int>(kWide.to));
        if (box->accessibleName() == QStringLiteral("von")) box->setValue(static_cast<int>(kWide.from));
        if (box->accessibleName() == QStringLiteral("max. Glieder")) box->setValue(0);
    }
}

// The engine alone: 2 … 100,000, design-time inputs, no term bound, both cores.
void EngineWideScan(benchmark::State& bench)
{
    fibmod::ScanOptions options;
    options.maxTerms = std::nullopt;
    for (auto _ : bench) {
        std::int64_t rows = 0;
        fibmod::ScanRows(fibmod::kDesignTimeInputs, kWide, options, [&rows](fibmod::ScanRow&&) { ++rows; });
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(EngineWideScan)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();

// The same scan in the overview, from its start until the last row is in
// the table and the chart, with the window shown. Also reports how late the
// main window's event loop answered a 5 ms timer meanwhile (max_late_ms).
void OverviewWideScan(benchmark::State& bench)
{
    Form1 form;
    form.show();
    OverviewWindow* window = fibmod::overview::OpenOverview(form);
    window->resize(1000, 720);
    double maxLate = 0;
    double idleLate = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        {
            // The same probe for a second without a scan: the machine's own lateness.
            QTimer probe;
            QElapsedTimer since;
            QEventLoop second;
            probe.setInterval(5);
            QObject::connect(&probe, &QTimer::timeout,
                             [&] { idleLate = std::max(idleLate, static_cast<double>(since.restart()) - 5); });
            QTimer::singleShot(1000, &second, &QEventLoop::quit);
            since.start();
            probe.start();
            second.exec();
        }
        // The design-time inputs as the engine's scan has them; a range
        // changed away and back, so that the scan starts again.
        SetWideRange(*window);
        for (QSpinBox* box : window->findChildren<QSpinBox*>())
            if (box->accessibleName() == QStringLiteral("von")) box->setValue(3);
        window->recomputeIfChanged();
        SetWideRange(*window);
        WaitUntilShown(*window);
        QCoreApplication::processEvents();
        QEventLoop shown;
        QObject::connect(window, &OverviewWindow::rowsShown, &shown, &QEventLoop::quit);
        QTimer probe;
        QElapsedTimer since;
        probe.setInterval(5);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            maxLate = std::max(maxLate, static_cast<double>(since.restart()) - 5);
        });
        bench.ResumeTiming();
        window->recomputeIfChanged();
        since.start();
        probe.start();
        shown.exec();
        bench.PauseTiming();
        probe.stop();
        if (static_cast<std::size_t>(window->model()->rowCount()) != 99999) bench.SkipWithError("not every modulus shown");
        bench.ResumeTiming();
    }
    bench.counters["max_late_ms"] = maxLate;
    bench.counters["idle_late_ms"] = idleLate;
}
BENCHMARK(OverviewWideScan)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();

// One frame of zooming (in and out in turn) or panning with 100,000 moduli:
// the points thinned again and the chart drawn.
void ChartFrame(benchmark::State& bench, bool pan)
{
    Form1 form;
    form.show();
    OverviewWindow* window = fibmod::overview::OpenOverview(form);
    window->resize(1000, 720);
    SetWideRange(*window);
    QEventLoop shown;
    QObject::connect(window, &OverviewWindow::rowsShown, &shown, &QEventLoop::quit);
    window->recomputeIfChanged();
    shown.exec();
    fibmod::overview::OverviewChart* chart = window->chart();
    QPixmap frame(chart->size());
    bool in = true;
    QElapsedTimer part;
    double thinning = 0;
    for (auto _ : bench) {
        if (pan)
            chart->chart()->scroll(in ? 40 : -40, 0);
        else
            chart->chart()->zoom(in ? 1.25 : 0.8);
        in = !in;
        part.start();
        chart->refreshNow();
        thinning += static_cast<double>(part.nsecsElapsed()) / 1e6;
        static_cast<QWidget*>(chart)->render(&frame);
    }
    bench.counters["thin_and_replace_ms"] = thinning / static_cast<double>(bench.iterations());
    bench.counters["points"] = static_cast<double>(chart->points(fibmod::overview::OverviewChart::Length1).size() + chart->points(fibmod::overview::OverviewChart::Length2).size() +
                                                   chart->points(fibmod::overview::OverviewChart::Count).size());
}
BENCHMARK_CAPTURE(ChartFrame, zoom, false)->Unit(benchmark::kMillisecond)->Iterations(40)->UseRealTime();
BENCHMARK_CAPTURE(ChartFrame, pan, true)->Unit(benchmark::kMillisecond)->Iterations(40)->UseRealTime();

// A figure of /proc/self/status ("VmHWM", "VmRSS") in MB; 0 when missing.
double StatusMb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) return 0;
    const QByteArray wanted = QByteArray(key) + ':';
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(wanted)) return line.mid(wanted.size()).trimmed().split(' ').front().toDouble() / 1024;
    }
    return 0;
}

// Sets the overview's range to 2 … `to` with at most `maxTerms` terms (0:
// none) and waits until its last row is shown.
void ShowRange(OverviewWindow& window, int to, int maxTerms)
{
    for (QSpinBox* box : window.findChildren<QSpinBox*>()) {
        if (box->accessibleName() == QStringLiteral("von")) box->setValue(2);
        if (box->accessibleName() == QStringLiteral("bis")) box->setValue(to);
        if (box->accessibleName() == QStringLiteral("max. Glieder")) box->setValue(maxTerms);
    }
    QEventLoop shown;
    QObject::connect(&window, &OverviewWindow::rowsShown, &shown, &QEventLoop::quit);
    window.recomputeIfChanged();
    if (window.computing()) shown.exec();
    QCoreApplication::processEvents();
}

// The overview's memory over 2 … 1,000,000 with no term bound and the
// design-time inputs, from the range's start until its last row is shown:
// the process' peak (peak_rss_mb), and what it holds once the range is back
// at 2 … 2000 and shown (rss_back_mb). Run it alone
// (--benchmark_filter=MillionModuli): the peak is the whole process'.
void MillionModuliMemory(benchmark::State& bench)
{
    Form1 form;
    form.show();
    OverviewWindow* window = fibmod::overview::OpenOverview(form);
    window->resize(1000, 720);
    double rows = 0;
    double keptMb = 0;
    for (auto _ : bench) {
        ShowRange(*window, 1000000, 0);
        bench.PauseTiming();
        rows = window->model()->rowCount();
        keptMb = static_cast<double>(window->model()->kept().residueBytes()) / (1 << 20);
        window->grab();
        ShowRange(*window, 2000, 0);
        bench.ResumeTiming();
    }
    bench.counters["rows"] = rows;
    bench.counters["residues_kept_mb"] = keptMb;
    bench.counters["peak_rss_mb"] = StatusMb("VmHWM");
    bench.counters["rss_back_mb"] = StatusMb("VmRSS");
    bench.counters["rows_back"] = window->model()->rowCount();
}
BENCHMARK(MillionModuliMemory)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// 2 … to (the first argument) with no term bound, the table sorted by
// "Zykellänge Folge 1", longest first, before the scan starts (second
// argument 1) or left in modulus order (0), timed from the range's start
// until its last row is shown. Also reports the largest resident memory
// sampled in the first 150 s (peak_rss_150s_mb) and the process' peak
// (peak_rss_mb), how late the main window's event loop answered a 100 ms
// timer at worst (max_late_ms), and the memory once the range is back at
// 2 … 2000 (rss_back_mb). Run each in a process of its own (--benchmark_filter=
// 'ScanWhileSorted/200000/1/'): the peak is the whole process'. On a busy
// machine, run the sorted and the unsorted process side by side, so that
// both meet the same load: the ratio of their times is the figure (at most
// 1.2), and the CPU time is the window's thread's.
void ScanWhileSorted(benchmark::State& bench)
{
    const auto to = static_cast<int>(bench.range(0));
    const bool sorted = bench.range(1) != 0;
    Form1 form;
    form.show();
    OverviewWindow* window = fibmod::overview::OpenOverview(form);
    window->resize(1000, 720);
    QCoreApplication::processEvents();
    if (sorted) window->tableView()->sortByColumn(fibmod::overview::ScanTableModel::Length1, Qt::DescendingOrder);
    double maxLate = 0;
    double peak150 = 0;
    for (auto _ : bench) {
        QElapsedTimer clock;
        QElapsedTimer since;
        QTimer probe;
        probe.setInterval(100);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            maxLate = std::max(maxLate, static_cast<double>(since.restart()) - 100);
            if (clock.elapsed() <= 150'000) peak150 = std::max(peak150, StatusMb("VmRSS"));
        });
        clock.start();
        since.start();
        probe.start();
        ShowRange(*window, to, 0);
        probe.stop();
        bench.PauseTiming();
        if (window->model()->rowCount() != to - 1) bench.SkipWithError("not every modulus shown");
        window->grab();
        ShowRange(*window, 2000, 0);
        bench.ResumeTiming();
    }
    bench.counters["max_late_ms"] = maxLate;
    bench.counters["peak_rss_150s_mb"] = peak150;
    bench.counters["peak_rss_mb"] = StatusMb("VmHWM");
    bench.counters["rss_back_mb"] = StatusMb("VmRSS");
}
BENCHMARK(ScanWhileSorted)
    ->Args({200000, 0})
    ->Args({200000, 1})
    ->Args({1000000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("fibmod"));
    // The overview remembers its geometry; the benchmark leaves the user's alone.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
