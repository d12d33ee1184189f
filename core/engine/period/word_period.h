// SPDX-License-Identifier: MIT
// The exact pre-period and period of a recurrence modulo any M below 2^64,
// without FLINT: the period engine's mathematics over 64 and 128-bit words.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/period/word_factorisation.h"
#include "core/engine/period/period_inputs.h"
#include "core/engine/period/word_modular.h"

namespace fibmod {

// A whole number of any size and sign, as 64-bit limbs, most significant
// first (none for 0).
struct WordWhole {
    bool negative = false;
    std::vector<std::uint64_t> limbs;

    WordWhole() = default;
    WordWhole(std::int64_t value);

    // An optional sign ('-' or '+') and one or more digits 0-9, nothing else.
    // std::invalid_argument for anything else.
    static WordWhole FromDecimal(std::string_view text);

    // The residue modulo m > 0, in 0 … m − 1.
    std::uint64_t residue(std::uint64_t m) const;
};

// One recurrence a(n+1) = r·a(n) + s·a(n−1) with a(0) = first and
// a(1) = second, as the period engine takes it.
struct WordInputs {
    WordWhole r;
    WordWhole s;
    WordWhole first;
    WordWhole second;
};

// A pre-period and period below 2^64 (a period is at most M², below 2^128).
struct WordPeriod {
    std::uint64_t preperiod;
    WordUInt128 length;

    friend bool operator==(const WordPeriod&, const WordPeriod&) = default;
};

// The periods of several sequences modulo one M, with M's factorisation.
struct WordModulusPeriods {
    std::uint64_t modulus;
    WordFactorisation factors;
    // One per sequence, in the order of the sequences.
    std::vector<WordPeriod> periods;
};

// The period engine's calculator for moduli 2 … 2^64 − 1, with the same
// figures: it factors with FactorWordPortably and keeps small prime powers'
// results as PeriodCalculator does. Not thread-safe: one per thread.
class WordPeriodCalculator {
public:
    // Prime powers p^e with p below `cachedPrimeLimit` are kept; 0 keeps none.
    explicit WordPeriodCalculator(std::vector<WordInputs> sequences,
                                  std::uint64_t cachedPrimeLimit = kDefaultCachedPrimeLimit);
    ~WordPeriodCalculator();
    WordPeriodCalculator(WordPeriodCalculator&&) noexcept;
    WordPeriodCalculator& operator=(WordPeriodCalculator&&) noexcept;

    // The sequences' periods modulo M. std::invalid_argument when M < 2;
    // std::logic_error should a known multiple of the period fail to fix a
    // pair on the cycle (a fault of the engine, never of the inputs).
    WordModulusPeriods compute(std::uint64_t M);

    static constexpr std::uint64_t kDefaultCachedPrimeLimit = std::uint64_t{1} << 24;

private:
    // The shared period arithmetic over words, with the cache.
    class Combiner;
    std::unique_ptr<Combiner> combiner_;
};

} // namespace fibmod
