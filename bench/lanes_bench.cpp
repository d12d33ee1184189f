// SPDX-License-Identifier: MIT
// The scan in vector lanes beside a tight leapfrog loop of its own arithmetic
// and nothing else, and the processor's clock to turn both into cycles a term.
#include <cstdint>
#include <cstring>
#include <numeric>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/engine/lanes/lane_walk.h"
#include "core/engine/lanes/row_start.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "bench/lanes_bench.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "core/engine/lanes/shoup-inl.h"

HWY_BEFORE_NAMESPACE();
namespace fibmod::lanes::HWY_NAMESPACE {

// One cycle from its row start: rows of K terms by the same multiply as the
// engine's, each row flagged two rows late, the start pair watched in every
// row. No bound, no stop token, no rows of a scan: the floor of the work.
// Returns the cycle's length.
template <bool kBytes, bool kPlain>
std::int64_t FloorCycle(const RowStart& start, std::uint8_t* table)
{
    const auto flag = [table](const std::uint32_t* row, std::int64_t count) {
        for (std::int64_t i = 0; i < count; ++i) {
            if constexpr (kBytes)
                table[row[i]] = 1;
            else
                table[row[i] >> 3] = static_cast<std::uint8_t>(table[row[i] >> 3] | 1u << (row[i] & 7));
        }
    };
    for (std::int64_t p = 1; p + 1 < 2 * kRowTerms; ++p)
        if (start.rows[static_cast<std::size_t>(p)] == start.first && start.rows[static_cast<std::size_t>(p + 1)] == start.second) {
            flag(start.rows.data(), p);
            return p;
        }
    const hn::ScalableTag<std::uint32_t> d;
    using V = hn::VFromD<decltype(d)>;
    constexpr std::size_t kLanes = HWY_LANES(std::uint32_t);
    constexpr std::size_t kVectors = kRowTerms / kLanes;
    HWY_ALIGN std::uint32_t ring[4][kRowTerms];
    std::memcpy(ring[0], start.rows.data(), sizeof ring[0] * 2);
    V before[kVectors];
    V now[kVectors];
    for (std::size_t k = 0; k < kVectors; ++k) {
        before[k] = hn::Load(d, ring[0] + k * kLanes);
        now[k] = hn::Load(d, ring[1] + k * kLanes);
    }
    const V M = hn::Set(d, start.M), v = hn::Set(d, start.v), vq = hn::Set(d, start.vq);
    const V c = hn::Set(d, start.c), cq = hn::Set(d, start.cq), first = hn::Set(d, start.first);
    bool seen[4] = {false, true, false, false};
    for (std::int64_t t = 2;; ++t) {
        std::uint32_t* made = ring[t & 3];
        auto hit = hn::FirstN(d, 0);
        for (std::size_t k = 0; k < kVectors; ++k) {
            const V second = kPlain ? before[k] : MulModShoup(d, before[k], c, cq, M);
            const V next = SubMod(MulModShoup(d, now[k], v, vq, M), second, M);
            hn::Store(next, d, made + k * kLanes);
            hit = hn::Or(hit, hn::Eq(next, first));
            before[k] = now[k];
            now[k] = next;
        }
        seen[t & 3] = !hn::AllFalse(d, hit);
        flag(ring[(t - 2) & 3], kRowTerms);
        if (HWY_UNLIKELY(seen[(t - 1) & 3])) {
            const std::uint32_t* row = ring[(t - 1) & 3];
            for (std::int64_t i = 0; i < kRowTerms; ++i) {
                const std::uint32_t after = i + 1 < kRowTerms ? row[i + 1] : made[0];
                if (row[i] == start.first && after == start.second) {
                    flag(row, kRowTerms);
                    flag(made, kRowTerms);
                    return (t - 1) * kRowTerms + i;
                }
            }
        }
    }
}

std::int64_t Floor(const RowStart& start, std::uint8_t* table, bool bytes)
{
    const bool plain = start.c == 1;
    if (bytes) return plain ? FloorCycle<true, true>(start, table) : FloorCycle<true, false>(start, table);
    return plain ? FloorCycle<false, true>(start, table) : FloorCycle<false, false>(start, table);
}

} // namespace fibmod::lanes::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
#include <limits>
#include <thread>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"

namespace fibmod::lanes {
HWY_EXPORT(Floor);
}

namespace {

using namespace fibmod;

// The inputs of each benchmark: the design-time ones (r = 6 and 4, s = −1,
// starts 1, 1), and r = 3, s = 2 for both sequences (a general s). Cycles
// with a general s run to M² terms: those scans begin at 2001, where the
// engine's lanes begin, and end early.
std::int64_t FirstOf(std::int64_t which) { return which == 0 ? 2 : 2001; }

Inputs InputsOf(std::int64_t which)
{
    if (which == 0) return ValuesOf(kDesignTimeInputs);
    Inputs inputs;
    inputs.one = {3, 2, 1, 1};
    inputs.two = {3, 2, 1, 1};
    return inputs;
}

lanes::LaneSequence Reduced(const Sequence& sequence, std::uint32_t M)
{
    const auto mod = [M](double x) {
        const auto n = static_cast<std::int64_t>(x) % static_cast<std::int64_t>(M);
        return static_cast<std::uint32_t>(n < 0 ? n + M : n);
    };
    return {M, mod(sequence.r), mod(sequence.s), mod(sequence.first), mod(sequence.second)};
}

// The tight loop on one thread over 2 … to: both cycles of every modulus
// whose s is prime to it, their flags, the start-pair watch, nothing else.
void LeapfrogFloor(benchmark::State& bench)
{
    const auto to = static_cast<std::uint32_t>(bench.range(0));
    const Inputs inputs = InputsOf(bench.range(1));
    std::vector<std::uint8_t> table;
    std::int64_t terms = 0;
    for (auto _ : bench) {
        terms = 0;
        for (auto M = static_cast<std::uint32_t>(FirstOf(bench.range(1))); M <= to; ++M) {
            const bool bytes = M <= kByteTableLimit;
            for (const Sequence* sequence : {&inputs.two, &inputs.one}) {
                const lanes::LaneSequence seq = Reduced(*sequence, M);
                if (!lanes::LanesTake(seq)) continue;
                table.assign(bytes ? M + 8 : M / 8 + 8, 0);
                const lanes::RowStart start = lanes::StartRows(seq, std::numeric_limits<std::int64_t>::max());
                terms += HWY_DYNAMIC_DISPATCH(lanes::Floor)(start, table.data(), bytes);
            }
            benchmark::DoNotOptimize(table.data());
        }
    }
    bench.counters["terms"] = static_cast<double>(terms);
    bench.counters["terms_per_s_per_core"] =
        benchmark::Counter(static_cast<double>(terms), benchmark::Counter::kIsIterationInvariantRate);
    bench.SetLabel(lanes::LaneTargetName());
}

// The lane walk alone on one thread over 2 … to, both cycles of every
// modulus whose s is prime to it: the floor with the engine's own kernel.
void Walks(benchmark::State& bench)
{
    const auto to = static_cast<std::uint32_t>(bench.range(0));
    const Inputs inputs = InputsOf(bench.range(1));
    ResidueSet flags;
    std::int64_t terms = 0;
    for (auto _ : bench) {
        terms = 0;
        for (std::uint32_t M = 2; M <= to; ++M) {
            for (const Sequence* sequence : {&inputs.two, &inputs.one}) {
                const lanes::LaneSequence seq = Reduced(*sequence, M);
                if (lanes::LanesTake(seq)) terms += lanes::WalkInLanes(seq, std::nullopt, flags).length;
            }
        }
    }
    bench.counters["terms"] = static_cast<double>(terms);
    bench.counters["terms_per_s_per_core"] =
        benchmark::Counter(static_cast<double>(terms), benchmark::Counter::kIsIterationInvariantRate);
}

// The engine's scan of 2 … to on `threads` threads; bound 0 is none;
// residues 0 asks for the counts alone.
void Engine(benchmark::State& bench)
{
    const std::int64_t to = bench.range(0);
    const Inputs inputs = InputsOf(bench.range(1));
    ScanOptions options;
    options.threads = static_cast<unsigned>(bench.range(2));
    options.maxTerms = bench.range(3) == 0 ? TermBound() : TermBound(bench.range(3));
    options.residues = bench.range(4) != 0;
    std::int64_t terms = 0;
    std::int64_t single = 0;
    for (auto _ : bench) {
        terms = single = 0;
        ScanRows(inputs, {FirstOf(bench.range(1)), to}, options, [&](ScanRow&& row) {
            terms += row.length1 + row.length2;
            single += HasSingleCommonResidue(row);
        });
    }
    bench.counters["terms"] = static_cast<double>(terms);
    bench.counters["one_residue"] = static_cast<double>(single);
    bench.counters["terms_per_s_per_core"] = benchmark::Counter(static_cast<double>(terms) / options.threads,
                                                                benchmark::Counter::kIsIterationInvariantRate);
    bench.SetLabel(lanes::LaneTargetName());
}

// The clock: a chain of dependent additions, one a cycle.
void Clock(benchmark::State& bench)
{
    constexpr std::int64_t kAdds = 400'000'000;
    for (auto _ : bench) {
        std::uint64_t x = 0;
        for (std::int64_t i = 0; i < kAdds / 8; ++i) {
            asm volatile("add $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\t"
                         "add $1, %0\n\tadd $1, %0\n\tadd $1, %0\n\tadd $1, %0"
                         : "+r"(x));
        }
        benchmark::DoNotOptimize(x);
    }
    bench.counters["GHz"] = benchmark::Counter(kAdds / 1e9, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(Clock)->Iterations(3)->Unit(benchmark::kMillisecond);
// to, inputs (0: design time, 1: r = 3, s = 2)
BENCHMARK(LeapfrogFloor)->Args({100000, 0})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LeapfrogFloor)->Args({2100, 1})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Walks)->Args({100000, 0})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
// to, inputs, threads, bound (0: none), residues (0: counts alone)
BENCHMARK(Engine)
    ->MeasureProcessCPUTime()
    ->Args({100000, 0, 1, 0, 1})
    ->Args({100000, 0, 2, 0, 1})
    ->Args({100000, 0, 1, 0, 0})
    ->Args({100000, 0, 2, 0, 0})
    ->Args({2100, 1, 1, 0, 1})
    ->Args({2100, 1, 2, 0, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(Engine)->Args({2000, 0, 1, 3000, 1})->Args({2000, 0, 2, 3000, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
#endif
