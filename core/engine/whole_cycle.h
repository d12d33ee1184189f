// SPDX-License-Identifier: MIT
// The cycle of a recurrence with whole-number inputs, walked in exact integers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/engine/cycle_end.h"
#include "core/engine/recurrence.h"
#include "core/engine/residue_set.h"
#include "core/engine/term_bound.h"

namespace fibmod {

// Products of two 64-bit numbers in full (a GCC extension).
__extension__ typedef unsigned __int128 UInt128;

// x mod M for x < 2^64 and 2 <= M < 2^32, with a multiplication by a
// precomputed reciprocal instead of a division.
class Reducer {
public:
    explicit Reducer(std::uint64_t M) : M_(M), inverse_(~std::uint64_t{0} / M) {}

    std::uint64_t modulus() const { return M_; }

    std::uint64_t operator()(std::uint64_t x) const
    {
        // The estimated quotient is the true one or one less.
        const auto quotient = static_cast<std::uint64_t>((static_cast<UInt128>(x) * inverse_) >> 64);
        const std::uint64_t rest = x - quotient * M_;
        return rest >= M_ ? rest - M_ : rest;
    }

private:
    std::uint64_t M_;
    std::uint64_t inverse_;
};

// A recurrence whose inputs are whole numbers, reduced modulo M: every value
// lies in 0 … M − 1.
struct WholeSequence {
    std::uint64_t r = 0;
    std::uint64_t s = 0;
    std::uint64_t first = 0;
    std::uint64_t second = 0;

    friend bool operator==(const WholeSequence&, const WholeSequence&) = default;
};

// True when all four inputs are whole numbers.
bool IsWhole(const Sequence& sequence);

// The sequence reduced exactly modulo M (2 <= M < 2^31); none unless IsWhole.
std::optional<WholeSequence> WholeModulo(const Sequence& sequence, std::int64_t M);

// True when the window's double arithmetic is exact for this sequence and M:
// whole inputs, and every product, sum and reduction the window forms stays
// within 2^53 in magnitude. Then its cycle is the whole-number cycle.
bool WindowArithmeticIsExact(const Sequence& sequence, std::int64_t M);

// The next term of a reduced sequence.
inline std::uint64_t NextWhole(std::uint64_t prev, std::uint64_t cur, const WholeSequence& seq, const Reducer& reduce)
{
    return reduce(seq.r * cur + seq.s * prev);
}

// How a walk through one cycle ended.
// NeverRecurs: after `tail` steps the pairs run round a cycle of `length`
// pairs. Never Stopped.
struct WholeCycle {
    using End = CycleEnd;
    End end = End::Closed;
    std::int64_t length = 0;
    std::int64_t tail = 0;
};

// True when the walk below steps plainly through the terms: when s is prime
// to M (then every pair comes back), or when the bound is small enough that
// walking up to it costs less than searching the cycle first.
bool WalksPlainly(const WholeSequence& seq, std::uint64_t M, TermBound bound);

// Walks the cycle of `seq` modulo M, adding every term a(2), a(3), … to
// `residues`, until the pair is back at the start pair, or past `bound`
// terms. With no bound, a start pair that never comes back is found (by
// Brent's method; a pair recurs always when s is prime to M).
WholeCycle WalkWholeCycle(const WholeSequence& seq, std::uint64_t M, TermBound bound, ResidueSet& residues);

// The same, keeping every term in order instead (for listings).
WholeCycle ListWholeCycle(const WholeSequence& seq, std::uint64_t M, TermBound bound, std::vector<std::uint64_t>& terms);

// The cycles of a and b at once, both walked plainly (WalksPlainly holds
// for each), in one loop whose steps overlap in the processor: what
// WalkWholeCycle gives for each, in half the time for short cycles.
std::array<WholeCycle, 2> WalkWholeCyclesInStep(const WholeSequence& a, const WholeSequence& b, std::uint64_t M,
                                                TermBound bound, ResidueSet& residuesA, ResidueSet& residuesB);

} // namespace fibmod
