// SPDX-License-Identifier: MIT
// The period engine: random moduli near 10^18, a range of consecutive moduli
// with and without the cache, factoring alone as the floor, the walking
// engine beside it for a modulus it can still walk, and the portable engine
// below 2^64 against the one with FLINT.
#include <cstdint>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/engine/period/factorisation.h"
#include "core/engine/period/period.h"
#include "core/engine/period/period_run.h"
#include "core/engine/period/word_period.h"
#include "core/engine/whole_cycle.h"

namespace {

using namespace fibmod;

// The design-time sequences: r = 6 and 4, s = −1, starts 1, 1.
const std::vector<WholeInputs> kDesignTime{{BigInt(6), BigInt(-1), BigInt(1), BigInt(1)},
                                           {BigInt(4), BigInt(-1), BigInt(1), BigInt(1)}};

// 200 moduli between 10^17 and 10^18, the same on every run.
std::vector<BigInt> RandomModuli()
{
    std::mt19937_64 random(20261209);
    std::uniform_int_distribution<std::uint64_t> modulus(100000000000000000ULL, 1000000000000000000ULL);
    std::vector<BigInt> moduli;
    for (int i = 0; i < 200; ++i) moduli.emplace_back(modulus(random));
    return moduli;
}

// Both sequences' periods of each modulus, factoring included, one thread.
void RandomModuliNear10To18(benchmark::State& state)
{
    const std::vector<BigInt> moduli = RandomModuli();
    PeriodCalculator calculator(kDesignTime, 0);
    for (auto _ : state)
        for (const BigInt& M : moduli) benchmark::DoNotOptimize(calculator.compute(M));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(moduli.size()));
}
BENCHMARK(RandomModuliNear10To18)->Unit(benchmark::kMillisecond);

// The floor of the above: factoring the moduli and nothing else.
void FactoringAloneNear10To18(benchmark::State& state)
{
    const std::vector<BigInt> moduli = RandomModuli();
    for (auto _ : state)
        for (const BigInt& M : moduli) benchmark::DoNotOptimize(Factor(M));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(moduli.size()));
}
BENCHMARK(FactoringAloneNear10To18)->Unit(benchmark::kMillisecond);

// 1000 moduli below 2^64, uniform, the same on every run.
std::vector<std::uint64_t> RandomWordModuli()
{
    std::mt19937_64 random(20261210);
    std::vector<std::uint64_t> moduli;
    while (moduli.size() < 1000)
        if (const std::uint64_t M = random(); M >= 2) moduli.push_back(M);
    return moduli;
}

// Both sequences' periods of 1000 random moduli below 2^64, one thread:
// range(0) = 0 with FLINT, 1 with the portable engine (the web page's).
void RandomModuliBelow2To64(benchmark::State& state)
{
    const std::vector<std::uint64_t> moduli = RandomWordModuli();
    PeriodCalculator flint(kDesignTime, 0);
    const std::vector<WordInputs> words{{6, -1, 1, 1}, {4, -1, 1, 1}};
    WordPeriodCalculator portable(words, 0);
    for (auto _ : state) {
        for (const std::uint64_t M : moduli) {
            if (state.range(0) == 0)
                benchmark::DoNotOptimize(flint.compute(BigInt(M)));
            else
                benchmark::DoNotOptimize(portable.compute(M));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(moduli.size()));
}
BENCHMARK(RandomModuliBelow2To64)->ArgName("portable")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The floor of the portable engine: factoring alone.
void PortableFactoringBelow2To64(benchmark::State& state)
{
    const std::vector<std::uint64_t> moduli = RandomWordModuli();
    for (auto _ : state)
        for (const std::uint64_t M : moduli) benchmark::DoNotOptimize(FactorWordPortably(M));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(moduli.size()));
}
BENCHMARK(PortableFactoringBelow2To64)->Unit(benchmark::kMillisecond);

// Consecutive moduli from 10^12: range(0) of them on range(1) threads, with
// each worker's cache of small prime powers (range(2) = 1) or without it.
void ConsecutiveFrom10To12(benchmark::State& state)
{
    const BigInt from(std::uint64_t{1000000000000});
    BigInt to = from;
    fmpz_add_ui(to.get(), to.get(), static_cast<std::uint64_t>(state.range(0)) - 1);
    PeriodRunOptions options;
    options.threads = static_cast<unsigned>(state.range(1));
    if (state.range(2) == 0) options.cachedPrimeLimit = 0;
    for (auto _ : state) {
        std::int64_t rows = 0;
        PeriodRange(kDesignTime, from, to, options, [&](ModulusPeriods&&) { ++rows; });
        benchmark::DoNotOptimize(rows);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ConsecutiveFrom10To12)
    ->ArgNames({"moduli", "threads", "cache"})
    ->Args({100000, 2, 1})
    ->Args({100000, 1, 1})
    ->Args({100000, 2, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// The prime 999,999,937: both cycles walked term by term by the walking
// engine, against the period engine for the same figures.
constexpr std::uint64_t kWalkablePrime = 999999937;

void WalkingEngineAt999999937(benchmark::State& state)
{
    for (auto _ : state) {
        for (const WholeInputs& in : kDesignTime) {
            const WholeSequence seq{fmpz_fdiv_ui(in.r.get(), kWalkablePrime),
                                    fmpz_fdiv_ui(in.s.get(), kWalkablePrime), 1, 1};
            ResidueSet residues(kWalkablePrime);
            benchmark::DoNotOptimize(WalkWholeCycle(seq, kWalkablePrime, std::nullopt, residues));
        }
    }
}
BENCHMARK(WalkingEngineAt999999937)->Unit(benchmark::kMillisecond)->Iterations(1);

void PeriodEngineAt999999937(benchmark::State& state)
{
    PeriodCalculator calculator(kDesignTime, 0);
    for (auto _ : state) benchmark::DoNotOptimize(calculator.compute(BigInt(kWalkablePrime)));
}
BENCHMARK(PeriodEngineAt999999937)->Unit(benchmark::kMicrosecond);

// The largest modulus, 2^127 − 1, and a product of two primes near 2^63
// (FLINT sieves it).
void HugeModuli(benchmark::State& state)
{
    const BigInt M = state.range(0) == 0 ? PeriodModulusMax()
                                         : BigInt::FromDecimal("85070591730233408489550396483858074383");
    PeriodCalculator calculator(kDesignTime, 0);
    for (auto _ : state) benchmark::DoNotOptimize(calculator.compute(M));
}
BENCHMARK(HugeModuli)->ArgName("semiprime")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
