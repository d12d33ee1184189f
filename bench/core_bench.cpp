// Timings of the computation against a field access that only keeps texts.
#include <sys/resource.h>

#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "core/cycles.h"
#include "tests/support/fake_fields.h"
#include "core/number_rules.h"

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
    fields.setText(Text2, "625");
    for (auto _ : bench) {
        ResetAndTakeOver(*state, fields);
        ShowCycles(*state, fields);
    }
    bench.counters["terms"] = state->count1 + state->count2;
    bench.counters["pair_lines"] = static_cast<double>(PairLineCount(fields.getText(Text1(6))));
    bench.counters["common_residues"] = state->CommonCount;
    bench.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(StressCase)->Unit(benchmark::kMillisecond);

// Every modulus 2 … 2000 with the design-time inputs, each one reset and shown
// through the modulus field.
void Sweep(benchmark::State& bench)
{
    auto state = std::make_unique<RunState>();
    double terms = 0;
    double pairLines = 0;
    for (auto _ : bench) {
        FakeFields fields(*state);
        terms = 0;
        pairLines = 0;
        for (int m = 2; m <= 2000; ++m) {
            fields.setText(Text2, IntegerText(m));
            terms += state->count1 + state->count2;
            pairLines += static_cast<double>(PairLineCount(fields.getText(Text1(6))));
        }
    }
    bench.counters["terms"] = terms;
    bench.counters["pair_lines"] = pairLines;
    bench.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(Sweep)->Unit(benchmark::kMillisecond);

} // namespace
