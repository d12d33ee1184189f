// SPDX-License-Identifier: MIT
// The cycle of a recurrence with whole-number inputs, in exact integers.
#include "core/engine/whole_cycle.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <type_traits>
#include <utility>

namespace fibmod {

namespace {

constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;

bool IsWholeNumber(double x) { return std::isfinite(x) && x == std::floor(x); }

// x modulo M for a whole double of any size: fmod is exact.
std::uint64_t WholeResidue(double x, std::int64_t M)
{
    double rest = std::fmod(x, static_cast<double>(M));
    if (rest < 0) rest += static_cast<double>(M);
    return static_cast<std::uint64_t>(rest);
}

// A walk with a bound this small (in units of M) is cheaper walked plainly
// than searched with Brent's method first.
constexpr std::int64_t kPlainWalkFactor = 8;

struct Pair {
    std::uint64_t prev;
    std::uint64_t cur;
    friend bool operator==(Pair, Pair) = default;
};

// Brent's method on the pairs: the length of the cycle the walk runs into,
// and the number of steps before it enters it (0 when the start pair lies
// on the cycle).
WholeCycle FindCycle(const WholeSequence& seq, const Reducer& reduce)
{
    const auto step = [&](Pair p) { return Pair{p.cur, NextWhole(p.prev, p.cur, seq, reduce)}; };
    const Pair start{seq.first, seq.second};
    std::int64_t power = 1;
    std::int64_t length = 1;
    Pair tortoise = start;
    Pair hare = step(start);
    while (!(tortoise == hare)) {
        if (power == length) {
            tortoise = hare;
            power *= 2;
            length = 0;
        }
        hare = step(hare);
        ++length;
    }
    hare = start;
    for (std::int64_t k = 0; k < length; ++k) hare = step(hare);
    std::int64_t tail = 0;
    tortoise = start;
    while (!(tortoise == hare)) {
        tortoise = step(tortoise);
        hare = step(hare);
        ++tail;
    }
    return {tail == 0 ? WholeCycle::End::Closed : WholeCycle::End::NeverRecurs, length, tail};
}

// Walks each of `seqs` at most `limit` terms, handing each term to
// keep(index, term), until it is back at its start pair. The walks go in step
// in one loop: each is a chain of dependent multiplications, and several
// chains overlap in the processor.
template <std::size_t N, class Keep>
std::array<WholeCycle, N> PlainWalks(const std::array<const WholeSequence*, N>& seqs, const Reducer& reduce,
                                     std::int64_t limit, Keep&& keep)
{
    std::array<std::uint64_t, N> prev{};
    std::array<std::uint64_t, N> cur{};
    std::array<bool, N> open{};
    for (std::size_t i = 0; i < N; ++i) {
        prev[i] = seqs[i]->first;
        cur[i] = seqs[i]->second;
        open[i] = true;
    }
    std::array<WholeCycle, N> ended{};
    std::size_t walking = N;
    for (std::int64_t count = 0; walking > 0;) {
        if (count == limit) {
            for (std::size_t i = 0; i < N; ++i)
                if (open[i]) ended[i] = {WholeCycle::End::PastBound, 0, 0};
            break;
        }
        ++count;
        // Each walk's step with its index a constant, so that its terms stay
        // in registers rather than in the arrays.
        const auto step = [&]<std::size_t i>(std::integral_constant<std::size_t, i>) {
            if (!open[i]) return;
            const std::uint64_t next = NextWhole(prev[i], cur[i], *seqs[i], reduce);
            keep(i, next);
            prev[i] = cur[i];
            cur[i] = next;
            if (prev[i] == seqs[i]->first && cur[i] == seqs[i]->second) {
                open[i] = false;
                ended[i] = {WholeCycle::End::Closed, count, 0};
                --walking;
            }
        };
        [&]<std::size_t... i>(std::index_sequence<i...>) {
            (step(std::integral_constant<std::size_t, i>{}), ...);
        }(std::make_index_sequence<N>{});
    }
    return ended;
}

// One walk of the above.
template <class Keep>
WholeCycle PlainWalk(const WholeSequence& seq, const Reducer& reduce, std::int64_t limit, Keep& keep)
{
    return PlainWalks<1>({&seq}, reduce, limit, [&keep](std::size_t, std::uint64_t term) { keep(term); })[0];
}

template <class Keep>
WholeCycle Walk(const WholeSequence& seq, std::uint64_t M, TermBound bound, Keep& keep)
{
    const Reducer reduce(M);
    const std::int64_t limit = bound.value_or(std::numeric_limits<std::int64_t>::max());
    if (WalksPlainly(seq, M, bound)) return PlainWalk(seq, reduce, limit, keep);

    const WholeCycle found = FindCycle(seq, reduce);
    if (found.end == WholeCycle::End::NeverRecurs) {
        if (bound) return {WholeCycle::End::PastBound, 0, 0};
        return found;
    }
    return PlainWalk(seq, reduce, limit, keep);
}

} // namespace

bool WalksPlainly(const WholeSequence& seq, std::uint64_t M, TermBound bound)
{
    // When s is prime to M the step is a bijection of the pairs: every pair
    // comes back.
    if (std::gcd(seq.s, M) == 1) return true;
    return bound && *bound <= kPlainWalkFactor * static_cast<std::int64_t>(M);
}

bool IsWhole(const Sequence& sequence)
{
    return IsWholeNumber(sequence.r) && IsWholeNumber(sequence.s) && IsWholeNumber(sequence.first) &&
           IsWholeNumber(sequence.second);
}

std::optional<WholeSequence> WholeModulo(const Sequence& sequence, std::int64_t M)
{
    if (!IsWhole(sequence)) return std::nullopt;
    return WholeSequence{WholeResidue(sequence.r, M), WholeResidue(sequence.s, M), WholeResidue(sequence.first, M),
                         WholeResidue(sequence.second, M)};
}

bool WindowArithmeticIsExact(const Sequence& sequence, std::int64_t M)
{
    if (!IsWhole(sequence)) return false;
    const double largest = std::max({std::fabs(sequence.r), std::fabs(sequence.s), std::fabs(sequence.first),
                                     std::fabs(sequence.second)});
    // Only a guard for the conversions below: a value at 2^53 fails the
    // checks after it as well, so ">=" here would answer the same.
    if (largest > static_cast<double>(kExactLimit)) return false;
    using Wide = UInt128;
    const auto r = static_cast<Wide>(std::fabs(sequence.r));
    const auto s = static_cast<Wide>(std::fabs(sequence.s));
    const auto first = static_cast<Wide>(std::fabs(sequence.first));
    const auto second = static_cast<Wide>(std::fabs(sequence.second));
    const auto top = static_cast<Wide>(M - 1);
    // A reduction of x is exact when |x| + M stays within 2^53.
    const Wide limit = kExactLimit - static_cast<Wide>(M);
    // The start values as typed, the first two terms formed from them, and
    // every term after that from reduced values.
    return first <= limit && second <= limit && second * r + first * s <= limit && top * r + second * s <= limit &&
           top * (r + s) <= limit;
}

WholeCycle WalkWholeCycle(const WholeSequence& seq, std::uint64_t M, TermBound bound, ResidueSet& residues)
{
    auto keep = [&residues](std::uint64_t term) { residues.add(term); };
    return Walk(seq, M, bound, keep);
}

std::array<WholeCycle, 2> WalkWholeCyclesInStep(const WholeSequence& a, const WholeSequence& b, std::uint64_t M,
                                                TermBound bound, ResidueSet& residuesA, ResidueSet& residuesB)
{
    const std::array<ResidueSet*, 2> residues{&residuesA, &residuesB};
    return PlainWalks<2>({&a, &b}, Reducer(M), bound.value_or(std::numeric_limits<std::int64_t>::max()),
                         [&residues](std::size_t i, std::uint64_t term) { residues[i]->add(term); });
}

WholeCycle ListWholeCycle(const WholeSequence& seq, std::uint64_t M, TermBound bound, std::vector<std::uint64_t>& terms)
{
    auto keep = [&terms](std::uint64_t term) { terms.push_back(term); };
    return Walk(seq, M, bound, keep);
}

} // namespace fibmod
