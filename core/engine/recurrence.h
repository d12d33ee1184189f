// SPDX-License-Identifier: MIT
// The recurrence as the window computes it in doubles: one step, one cycle, the common members of two.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace fibmod {

// One recurrence a(n+1) = r·a(n) + s·a(n-1) with its two start values:
// a(0) = first, a(1) = second.
struct Sequence {
    double r = 0;
    double s = 0;
    double first = 0;
    double second = 0;
};

// A cycle lists at most this many terms; one more is error 9.
inline constexpr std::int32_t kMaxCycleTerms = 3000;

// The next term, reduce(cur·r + prev·s) modulo M. Error 6 when a product,
// the sum or the reduction leaves the double range.
double NextTerm(double prev, double cur, double r, double s, double M);

// True when the pair (prev, cur) is back at the start pair, given reduced
// modulo M (see ReducedStart). `prev` is compared as its residue: in the
// first pass it is the second start value as typed.
bool ClosesCycle(double prev, double cur, double reducedFirst, double reducedSecond, double M);

// A start pair reduced modulo M, as ClosesCycle compares it.
struct StartPair {
    double first;
    double second;
};
StartPair ReducedStart(double first, double second, double M);

// The cycle loop: steps (prev, cur) through the recurrence until the pair is
// back at the start pair. `walk` is asked before every term whether to go on
// (`proceed()`), is given every term (`keep(term)`, which may throw error 9
// past its table), and is asked for the reduced start pair after every term
// (`startPair()`), so that a caller may read it afresh. Returns false when
// `proceed()` said stop.
template <class Walk>
bool WalkCycle(double& prev, double& cur, double r, double s, double M, Walk& walk)
{
    for (;;) {
        if (!walk.proceed()) return false;
        const double next = NextTerm(prev, cur, r, s, M);
        walk.keep(next);
        prev = cur;
        cur = next;
        const StartPair start = walk.startPair();
        if (ClosesCycle(prev, cur, start.first, start.second, M)) return true;
    }
}

// The terms a(2), a(3), … of one cycle modulo M, as the window lists them.
// Error 9 past `maxTerms` terms, error 6 as for NextTerm.
std::vector<double> Cycle(const Sequence& sequence, double M, std::int64_t maxTerms = kMaxCycleTerms);

// One equal pair of terms: the value, its position (from 1) in the cycle of
// sequence 1 and in the cycle of sequence 2.
struct CommonMember {
    double value;
    std::int64_t position1;
    std::int64_t position2;

    friend bool operator==(const CommonMember&, const CommonMember&) = default;
};

// Every equal pair of the two cycles, ordered by the position in sequence 2,
// then by the position in sequence 1.
std::vector<CommonMember> CommonMembers(std::span<const double> cycle2, std::span<const double> cycle1);

// The residue a common value flags: the nearest integer, ties to even.
// Error 9 outside 0 … kLastFlaggedResidue.
inline constexpr std::int32_t kLastFlaggedResidue = 10'000'000;
// A common value as the window flags it: rounded to the nearest integer,
// ties to even. Error 9 when that is negative (the flag table's index).
double RoundedCommonValue(double value);
std::int32_t FlaggedResidue(double value);

// The flagged residues 0 … M of the common members, ascending, as the
// summary lists them. Error 9 as for FlaggedResidue, in the members' order.
std::vector<std::int32_t> CommonResidues(std::span<const CommonMember> members, double M);

} // namespace fibmod
