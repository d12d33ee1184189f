// SPDX-License-Identifier: MIT
// The exact pre-period and period of a recurrence modulo any M up to
// 2^127 − 1, computed from M's factorisation instead of walked.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/engine/period/big_integer.h"
#include "core/engine/period/factorisation.h"
#include "core/engine/period/period_rows.h"

namespace fibmod {

// One recurrence a(n+1) = r·a(n) + s·a(n−1) with a(0) = first and
// a(1) = second: whole numbers of any size and sign, reduced modulo M first.
struct WholeInputs {
    BigInt r;
    BigInt s;
    BigInt first;
    BigInt second;

    friend bool operator==(const WholeInputs&, const WholeInputs&) = default;
};

// The pairs (a(n), a(n+1)) modulo M run, after `preperiod` pairs, round a
// cycle of `length` pairs. The walking engine's figures: a start pair that
// comes back has pre-period 0 and the row's length as length; for one that
// never comes back they are the two figures of "Startpaar kehrt nicht
// wieder (Vorlauf …, Zyklus …)".
struct Period {
    BigInt preperiod;
    BigInt length;

    friend bool operator==(const Period&, const Period&) = default;
};

// The periods of several sequences modulo one M, with M's factorisation.
struct ModulusPeriods {
    BigInt modulus;
    Factorisation factors;
    // One per sequence, in the order of the sequences.
    std::vector<Period> periods;
};

// The row of two sequences' periods as text, for the writers of
// period_rows.h.
PeriodRowText RowText(const ModulusPeriods& row);

// True when 2 <= M <= 2^127 − 1, the moduli the engine takes.
bool IsPeriodModulus(const BigInt& M);

// The period of one sequence modulo M. std::invalid_argument unless
// IsPeriodModulus(M); std::logic_error should a known multiple of the period
// fail to fix a pair on the cycle (a fault of the engine, never of the
// inputs). Thread-safe.
Period PeriodOf(const WholeInputs& inputs, const BigInt& M);

// Computes periods for a fixed list of sequences over many moduli. It keeps
// each small prime power's result (per sequence), since consecutive moduli
// share their small prime factors: a range then costs mostly the work on
// each modulus's largest prime. Not thread-safe: one per thread (each thread
// its own cache).
class PeriodCalculator {
public:
    // Prime powers p^e with p below `cachedPrimeLimit` are kept; 0 keeps none.
    explicit PeriodCalculator(std::vector<WholeInputs> sequences, std::uint64_t cachedPrimeLimit = kDefaultCachedPrimeLimit);
    ~PeriodCalculator();
    PeriodCalculator(PeriodCalculator&&) noexcept;
    PeriodCalculator& operator=(PeriodCalculator&&) noexcept;

    // The sequences' periods modulo M, with M's factorisation. The same
    // exceptions as PeriodOf.
    ModulusPeriods compute(const BigInt& M);

    // The same for M already factored (the prime powers of M, ascending).
    ModulusPeriods compute(const BigInt& M, Factorisation factors);

    // The sequences the periods are computed for.
    const std::vector<WholeInputs>& sequences() const;

    // How many prime powers are kept.
    std::size_t cachedCount() const;

    // Primes below 2^24 repeat within any range of moduli worth caching.
    static constexpr std::uint64_t kDefaultCachedPrimeLimit = std::uint64_t{1} << 24;

private:
    // The shared period arithmetic over FLINT's numbers, with the cache.
    class Combiner;
    std::unique_ptr<Combiner> combiner_;
};

} // namespace fibmod
