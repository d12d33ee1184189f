// SPDX-License-Identifier: MIT
// Periods of many moduli on several threads, handed on in order.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/engine/period/period.h"
#include "core/engine/stop_signal.h"

namespace fibmod {

struct PeriodRunOptions {
    // Worker threads; 0 takes one per core. The rows do not depend on it.
    unsigned threads = 0;
    // When stop is requested the run ends early: rows handed on stay handed
    // on, no further row follows.
    StopToken stop;
    // Each worker's PeriodCalculator keeps prime powers of primes below this.
    std::uint64_t cachedPrimeLimit = PeriodCalculator::kDefaultCachedPrimeLimit;
};

// The modulus with the given index (0 … count − 1); called on the workers,
// so it must be safe to call from several threads at once.
using ModulusAt = std::function<BigInt(std::uint64_t index)>;

// Receives the rows, one at a time, in index order, on the calling thread.
using PeriodSink = std::function<void(ModulusPeriods&& row)>;

// The periods of `sequences` modulo modulusAt(0), …, modulusAt(count − 1),
// handed to `sink` in index order as soon as a row and every row before it
// are done. Workers run at most a bounded distance ahead of the sink, so
// memory stays bounded however many moduli there are. Returns false when
// stopped. An exception from a worker (a modulus outside 2 … 2^127 − 1:
// std::invalid_argument) or from the sink ends the run and is raised again
// here once every worker has ended; the rows before it stay handed on.
bool ComputePeriods(const std::vector<WholeInputs>& sequences, std::uint64_t count, const ModulusAt& modulusAt,
                    const PeriodRunOptions& options, const PeriodSink& sink);

// The same for every modulus from `from` to `to` (both included, ascending),
// however many. std::invalid_argument unless 2 <= from <= to <= 2^127 − 1.
bool PeriodRange(const std::vector<WholeInputs>& sequences, const BigInt& from, const BigInt& to,
                 const PeriodRunOptions& options, const PeriodSink& sink);

} // namespace fibmod
