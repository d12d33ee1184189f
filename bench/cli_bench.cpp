// SPDX-License-Identifier: MIT
// How fast the command line stops a scan after SIGINT.
#include <atomic>
#include <chrono>
#include <csignal>
#include <latch>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "cli/command_result.h"
#include "cli/interruption.h"
#include "cli/output_file.h"
#include "cli/scan_command.h"

namespace fibmod::cli {
namespace {

// From raise(SIGINT) to the scan command's return, for a scan with no term
// bound that is busy with moduli near `state.range(0)`. Reports how often the
// grace ran out (the program would then have left at once, 50 ms after the
// signal).
void BM_ScanStopsAfterSigint(benchmark::State& state)
{
    const int nowhere = ::open("/dev/null", O_WRONLY);
    OutputFile out(nowhere);
    std::atomic<int> overdue = 0;
    for (auto _ : state) {
        Interruption interruption(std::chrono::milliseconds(50), [&overdue](int) { ++overdue; });
        std::latch busy(1);
        const std::int64_t from = state.range(0);
        CommandContext context{.out = out, .stop = interruption.token()};
        context.scan.beforeModulus = [&busy, from](std::int64_t m) {
            if (m == from + 2) busy.count_down();
        };
        ScanCommandOptions options;
        options.from = from;
        options.to = from + 1'000'000;
        options.format = "csv";
        options.engine.maxTerms = "none";
        std::chrono::steady_clock::time_point returned;
        std::jthread scan([&] {
            RunScanCommand(options, context);
            returned = std::chrono::steady_clock::now();
        });
        busy.wait();
        const auto raised = std::chrono::steady_clock::now();
        std::raise(SIGINT);
        scan.join();
        state.SetIterationTime(std::chrono::duration<double>(returned - raised).count());
    }
    state.counters["overdue"] = overdue.load();
    ::close(nowhere);
}
BENCHMARK(BM_ScanStopsAfterSigint)
    ->Arg(10'000)
    ->Arg(1'000'000)
    ->Arg(50'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
} // namespace fibmod::cli
