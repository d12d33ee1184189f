// SPDX-License-Identifier: MIT
// Timings of the real window on Qt's offscreen platform: from setting the
// modulus until every output is in the fields and in the widgets.
#include <unistd.h>

#include <fstream>

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <memory>

#include <benchmark/benchmark.h>

#include "core/window/field_roles.h"
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

// The longest wait for an answer while the window is busy: a queued probe
// posts itself again each time the event loop handles it, and keeps the
// longest time between two of its turns.
class AnswerProbe {
public:
    explicit AnswerProbe(QObject* context) : context_(context) { post(); }
    ~AnswerProbe() { *alive_ = false; }
    AnswerProbe(const AnswerProbe&) = delete;
    AnswerProbe& operator=(const AnswerProbe&) = delete;

    double longestMs() const { return std::chrono::duration<double, std::milli>(longest_).count(); }
    void restart()
    {
        last_ = Clock::now();
        longest_ = {};
    }

private:
    using Clock = std::chrono::steady_clock;

    void post()
    {
        QMetaObject::invokeMethod(
            context_,
            [this, alive = alive_] {
                if (!*alive) return;
                const Clock::time_point now = Clock::now();
                longest_ = std::max(longest_, now - last_);
                last_ = now;
                post();
            },
            Qt::QueuedConnection);
    }

    QObject* context_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    Clock::time_point last_ = Clock::now();
    Clock::duration longest_{};
};

// From a user's paste of a megabyte of digits until the window answers the
// next event, for each kind of box.
void WindowPasteMegabyte(benchmark::State& bench, const char* box)
{
    Form1 form;
    form.show();
    form.setMessageHook([](const QString&) {});
    auto* target = form.findChild<QWidget*>(QString::fromUtf8(box));
    QGuiApplication::clipboard()->setText(QString(1 << 20, u'7'));
    for (auto _ : bench) {
        bench.PauseTiming();
        form.setText(kModulusField, "2");
        form.setText(kSequence2Fields.listing, "");
        form.setText(kSequence2Fields.first, "1");
        form.setText(kSequence2Fields.r, "4");
        form.refreshWidgets();
        QCoreApplication::processEvents();
        bench.ResumeTiming();
        bool answered = false;
        QMetaObject::invokeMethod(&form, [&answered] { answered = true; }, Qt::QueuedConnection);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        while (!answered) QCoreApplication::processEvents();
    }
    QGuiApplication::clipboard()->clear();
}
BENCHMARK_CAPTURE(WindowPasteMegabyte, Listing, "Text1(0)")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(WindowPasteMegabyte, LineEdit, "Text1(2)")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(WindowPasteMegabyte, Modulus, "Text2")->Unit(benchmark::kMillisecond)->Iterations(3);

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
    AnswerProbe probe(&form);
    double longest = 0;
    for (auto _ : bench) {
        StartFromTwo(bench, scroll);
        probe.restart();
        next->click();
        QCoreApplication::processEvents();
        longest = std::max(longest, probe.longestMs());
    }
    bench.counters["last_modulus"] = scroll->value();
    // The longest time the window left an event waiting during the search.
    bench.counters["longest_answer_ms"] = longest;
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
