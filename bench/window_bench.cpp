// Timings of the real window on Qt's offscreen platform: from setting the
// modulus until every output is in the fields and in the widgets.
#include <unistd.h>

#include <fstream>

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include "tests/support/fake_fields.h"
#include "ui/form1.h"

namespace {

using namespace fibmod;

using fibmod::testing::SetBothSequences;

// The process's resident memory now, from /proc.
double ResidentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The window open and idle with its default inputs, as after start: the
// memory it holds resident. It runs first, before other windows grew the heap.
void IdleWindowMemory(benchmark::State& bench)
{
    for (auto _ : bench) {
        Form1 form;
        form.show();
        QCoreApplication::processEvents();
        bench.counters["resident_MB"] = ResidentMegabytes();
    }
}
BENCHMARK(IdleWindowMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// Puts the scroll bar back to 2 outside the timed part.
void StartFromTwo(benchmark::State& bench, QScrollBar* scroll)
{
    bench.PauseTiming();
    scroll->setValue(2);
    QCoreApplication::processEvents();
    bench.ResumeTiming();
}

// M = 625 with r = s = 1 from 1, 1 in both columns, set with the scroll bar
// as a user does; the widgets are painted before the clock stops.
void WindowStressCase(benchmark::State& bench)
{
    Form1 form;
    form.show();
    SetBothSequences(form, "1", "1", "1", "1");
    auto* scroll = form.findChild<QScrollBar*>("HScroll1");
    for (auto _ : bench) {
        StartFromTwo(bench, scroll);
        scroll->setValue(625);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(WindowStressCase)->Unit(benchmark::kMillisecond)->Iterations(5);

// The stepping search from 2 to 2000 with r = 4, s = −1 from 1, 1 in both
// columns: no modulus has a single common residue, so it ends with the message.
void WindowSteppingSweep(benchmark::State& bench)
{
    Form1 form;
    form.show();
    form.setMessageHook([](const QString&) {});
    SetBothSequences(form, "4", "-1", "1", "1");
    auto* scroll = form.findChild<QScrollBar*>("HScroll1");
    auto* next = form.findChild<QPushButton*>("Command4");
    for (auto _ : bench) {
        StartFromTwo(bench, scroll);
        next->click();
        QCoreApplication::processEvents();
    }
    bench.counters["last_modulus"] = scroll->value();
}
BENCHMARK(WindowSteppingSweep)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
