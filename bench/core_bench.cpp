// SPDX-License-Identifier: MIT
// Timings of the computation against a field access that only keeps texts.
#include <sys/resource.h>

#include <memory>
#include <string>
#include <thread>

#include <benchmark/benchmark.h>

#include "core/engine/inputs.h"
#include "core/engine/modulus_range.h"
#include "core/engine/number_rules.h"
#include "core/engine/scan.h"
#include "core/window/cycles.h"
#include "core/window/field_roles.h"
#include "tests/support/collected_scan.h"
#include "tests/support/fake_fields.h"

namespace {

using namespace fibmod;
using fibmod::testing::FakeFields;
using fibmod::testing::SetBothSequences;

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The lines of the common members, without the summary.
std::size_t PairLineCount(const std::string& text)
{
    std::size_t lines = 0;
    for (auto at = text.find(" bei "); at != std::string::npos; at = text.find(" bei ", at + 1)) ++lines;
    return lines;
}

// M = 625 with r = s = 1 from 1, 1 in both columns: two cycles of 2500
// terms, 10,000 pair lines and 625 common residues.
void StressCase(benchmark::State& bench)
{
    auto state = std::make_unique<RunState>();
    FakeFields fields(*state);
    SetBothSequences(fields, "1", "1", "1", "1");
    fields.setText(kModulusField, "625");
    for (auto _ : bench) {
        ResetAndTakeOver(*state, fields);
        ShowCycles(*state, fields);
    }
    bench.counters["terms"] = state->count1 + state->count2;
    bench.counters["pair_lines"] = static_cast<double>(PairLineCount(fields.getText(kCommonMembersField)));
    bench.counters["common_residues"] = state->CommonCount;
    bench.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(StressCase)->Unit(benchmark::kMillisecond);

// Every modulus 2 … 2000, each one typed into the modulus field and so reset
// and shown through the window's procedures, texts included. The field is
// emptied first, so that 2 is a change too.
void SweepThroughProcedures(benchmark::State& bench, const char* r, const char* s)
{
    auto state = std::make_unique<RunState>();
    double terms = 0;
    double pairLines = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        FakeFields fields(*state);
        if (r != nullptr) SetBothSequences(fields, r, s, "1", "1");
        fields.setText(kModulusField, "");
        bench.ResumeTiming();
        terms = 0;
        pairLines = 0;
        for (int m = kModulusMin; m <= kModulusMax; ++m) {
            fields.setText(kModulusField, IntegerText(m));
            terms += state->count1 + state->count2;
            pairLines += static_cast<double>(PairLineCount(fields.getText(kCommonMembersField)));
        }
    }
    bench.counters["terms"] = terms;
    bench.counters["pair_lines"] = pairLines;
    bench.counters["peak_MB"] = PeakMegabytes();
}
// With the design-time inputs.
BENCHMARK_CAPTURE(SweepThroughProcedures, design_time_inputs, nullptr, nullptr)->Unit(benchmark::kMillisecond);
// With r = 4, s = −1 from 1, 1 in both columns: what the window's stepping
// search from 2 to 2000 computes, without the window.
BENCHMARK_CAPTURE(SweepThroughProcedures, r4_s_minus1_both, "4", "-1")->Unit(benchmark::kMillisecond);

// The scan of 2 … `to` with the design-time inputs, on `threads` threads
// (0: one per core).
void ScanRange(benchmark::State& bench)
{
    ScanOptions options;
    options.threads = static_cast<unsigned>(bench.range(1));
    const ModulusRange range{kModulusMin, static_cast<int>(bench.range(0))};
    const Inputs inputs = ValuesOf(kDesignTimeInputs);
    std::size_t rows = 0;
    for (auto _ : bench) {
        const auto scanned = Scan(inputs, range, options);
        rows = scanned->size();
        benchmark::DoNotOptimize(scanned);
    }
    bench.counters["moduli"] = static_cast<double>(rows);
    bench.counters["threads"] = static_cast<double>(options.threads != 0 ? options.threads : std::thread::hardware_concurrency());
}
BENCHMARK(ScanRange)
    ->ArgsProduct({{500, 1000, 2000}, {1, 0}})
    ->ArgNames({"to", "threads"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
