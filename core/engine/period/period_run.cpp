// SPDX-License-Identifier: MIT
// Periods of many moduli as an ordered run, each worker with its own cache.
#include "core/engine/period/period_run.h"

#include <optional>
#include <stdexcept>

#include "core/engine/ordered_run.h"
#include "core/engine/period/flint_thread.h"

namespace fibmod {

namespace {

// How far, in moduli per worker, the workers may run ahead of the sink.
constexpr std::uint64_t kLeadPerWorker = 64;

} // namespace

bool ComputePeriods(const std::vector<WholeInputs>& sequences, std::uint64_t count, const ModulusAt& modulusAt,
                    const PeriodRunOptions& options, const PeriodSink& sink)
{
    ReleaseFlintCachesAtThreadExit();
    OrderedRunOptions<ModulusPeriods> run;
    run.threads = options.threads;
    run.stop = options.stop;
    run.aheadPerThread = kLeadPerWorker;
    // Each worker has its own cache of prime powers.
    return RunOrdered(count, run, [&] {
        return [&modulusAt, calculator = PeriodCalculator(sequences, options.cachedPrimeLimit)](
                   std::uint64_t index) mutable { return std::optional(calculator.compute(modulusAt(index))); };
    }, sink);
}

bool PeriodRange(const std::vector<WholeInputs>& sequences, const BigInt& from, const BigInt& to,
                 const PeriodRunOptions& options, const PeriodSink& sink)
{
    if (!IsPeriodModulus(from) || !IsPeriodModulus(to) || from > to)
        throw std::invalid_argument("not a range of moduli within 2 to 2^127 - 1: " + from.toString() + " to " +
                                    to.toString());
    // ComputePeriods counts in 64 bits: a longer range runs in parts, one
    // after the other.
    constexpr std::uint64_t kPart = std::uint64_t{1} << 63;
    for (BigInt first = from;; first = first + BigInt(kPart)) {
        const BigInt rest = to - first;
        const std::uint64_t count = rest < BigInt(kPart) ? rest.toUInt64() + 1 : kPart;
        const auto modulusAt = [&first](std::uint64_t index) { return first + BigInt(index); };
        if (!ComputePeriods(sequences, count, modulusAt, options, sink)) return false;
        if (count != kPart || rest == BigInt(kPart - 1)) return true;
    }
}

} // namespace fibmod
