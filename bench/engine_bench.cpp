// SPDX-License-Identifier: MIT
// The engine's scan beside a tight loop of its own arithmetic and nothing
// else: walk both cycles of every modulus, flag the residues, intersect.
#include <bit>
#include <cstdint>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"
#include "core/engine/whole_cycle.h"

namespace {

using namespace fibmod;

const Inputs kDesignTime = ValuesOf(kDesignTimeInputs);

// The design-time inputs reduced by hand: r = 6 and 4, s = −1, starts 1, 1.

// One cycle walked with the engine's reduction, its residues flagged in
// `bits`; returns its length.
std::int64_t FloorWalk(std::uint64_t r, std::uint64_t s, std::uint64_t M, std::vector<std::uint64_t>& bits)
{
    const Reducer reduce(M);
    std::uint64_t prev = 1 % M;
    std::uint64_t cur = 1 % M;
    std::int64_t count = 0;
    do {
        const std::uint64_t next = reduce(r * cur + s * prev);
        bits[next >> 6] |= std::uint64_t{1} << (next & 63);
        prev = cur;
        cur = next;
        ++count;
    } while (!(prev == 1 % M && cur == 1 % M));
    return count;
}

// The moduli from..to taking every `step`-th, walked plainly one at a time.
std::int64_t FloorRange(std::uint64_t from, std::uint64_t to, std::uint64_t step, std::int64_t& common)
{
    std::int64_t terms = 0;
    std::vector<std::uint64_t> one;
    std::vector<std::uint64_t> two;
    for (std::uint64_t M = from; M <= to; M += step) {
        one.assign((M + 63) / 64, 0);
        two.assign((M + 63) / 64, 0);
        terms += FloorWalk(4 % M, M - 1, M, two);
        terms += FloorWalk(6 % M, M - 1, M, one);
        for (std::size_t w = 0; w < one.size(); ++w) common += std::popcount(one[w] & two[w]);
    }
    return terms;
}

void Floor(benchmark::State& bench)
{
    const auto to = static_cast<std::uint64_t>(bench.range(0));
    const auto threads = static_cast<unsigned>(bench.range(1));
    std::int64_t terms = 0;
    for (auto _ : bench) {
        std::vector<std::int64_t> counted(threads), common(threads);
        {
            std::vector<std::jthread> pool;
            for (unsigned t = 0; t < threads; ++t)
                pool.emplace_back([&, t] { counted[t] = FloorRange(2 + t, to, threads, common[t]); });
        }
        terms = 0;
        for (unsigned t = 0; t < threads; ++t) terms += counted[t];
        benchmark::DoNotOptimize(common);
    }
    bench.counters["terms"] = static_cast<double>(terms);
    bench.counters["terms_per_s_per_core"] =
        benchmark::Counter(static_cast<double>(terms) / threads, benchmark::Counter::kIsIterationInvariantRate);
}

void Engine(benchmark::State& bench)
{
    const std::int64_t to = bench.range(0);
    ScanOptions options;
    options.threads = static_cast<unsigned>(bench.range(1));
    options.maxTerms = bench.range(2) == 0 ? TermBound() : TermBound(bench.range(2));
    std::int64_t terms = 0;
    for (auto _ : bench) {
        terms = 0;
        ScanRows(kDesignTime, {2, to}, options, [&terms](ScanRow&& row) { terms += row.length1 + row.length2; });
    }
    bench.counters["terms"] = static_cast<double>(terms);
    bench.counters["terms_per_s_per_core"] = benchmark::Counter(static_cast<double>(terms) / options.threads,
                                                                benchmark::Counter::kIsIterationInvariantRate);
}

// to, threads
BENCHMARK(Floor)->Args({2000, 1})->Args({2000, 2})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Floor)->Args({100000, 2})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
// to, threads, bound (0: none)
BENCHMARK(Engine)->Args({2000, 1, 3000})->Args({2000, 2, 3000})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Engine)
    ->Args({100000, 1, 0})
    ->Args({100000, 2, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
