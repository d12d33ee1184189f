// SPDX-License-Identifier: MIT
// Timings of the overview on Qt's offscreen platform: from F2 until the
// chart and the table show every modulus, and the main window's run for a
// modulus change with and without the overview's scan beside it.
#include <QApplication>
#include <QEventLoop>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "core/field_roles.h"
#include "ui/form1.h"
#include "ui/overview/overview_window.h"

namespace {

using fibmod::overview::OverviewWindow;

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
        if (window->rows().size() != 1999) bench.SkipWithError("not every modulus shown");
        delete window;
        bench.ResumeTiming();
    }
}
BENCHMARK(OverviewFromF2)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly(true)->UseRealTime();

// The main window's run for the modulus 1999, after r of sequence 1 was
// changed (which runs nothing in the main window). With `beside` set, the
// overview is open and scans the changed inputs while the main window runs.
void MainWindowRun(benchmark::State& bench, bool beside)
{
    Form1 form;
    form.show();
    OverviewWindow* window = beside ? fibmod::overview::OpenOverview(form) : nullptr;
    if (window != nullptr) window->waitForWorker();
    QCoreApplication::processEvents();
    auto* scroll = form.findChild<QScrollBar*>("HScroll1");
    bool odd = false;
    for (auto _ : bench) {
        bench.PauseTiming();
        scroll->setValue(2);
        odd = !odd;
        form.setText(fibmod::kSequence1Fields.r, odd ? "5" : "6");
        if (window != nullptr) window->recomputeIfChanged();
        // The overview repaints its progress over a few turns of the event
        // loop; those belong to the input change, not to the run timed next.
        for (int turn = 0; turn < 5; ++turn) QCoreApplication::processEvents();
        bench.ResumeTiming();
        scroll->setValue(1999);
        QCoreApplication::processEvents();
        bench.PauseTiming();
        if (window != nullptr) {
            if (!window->computing()) bench.SkipWithError("the scan ended before the main window's run");
            window->waitForWorker();
            QCoreApplication::processEvents();
        }
        bench.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(MainWindowRun, alone, false)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK_CAPTURE(MainWindowRun, beside_overview_scan, true)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The overview remembers its geometry; the benchmark leaves the user's alone.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
