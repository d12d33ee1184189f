// SPDX-License-Identifier: MIT
// The recurrence, its cycle and the common members of two cycles.
#include "core/engine/recurrence.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/engine/number_rules.h"
#include "core/engine/run_time_error.h"

namespace fibmod {

double NextTerm(double prev, double cur, double r, double s, double M)
{
    return ReduceMod(Finite(Finite(cur * r) + Finite(prev * s)), M);
}

bool ClosesCycle(double prev, double cur, double reducedFirst, double reducedSecond, double M)
{
    return ReduceMod(prev, M) == reducedFirst && cur == reducedSecond;
}

StartPair ReducedStart(double first, double second, double M) { return {ReduceMod(first, M), ReduceMod(second, M)}; }

namespace {

// Collects the terms of one cycle for a caller without a window.
class CollectedCycle {
public:
    CollectedCycle(const Sequence& sequence, double M, std::int64_t maxTerms)
        : start_(ReducedStart(sequence.first, sequence.second, M)), maxTerms_(maxTerms)
    {
        terms_.reserve(64);
    }

    bool proceed() const { return true; }
    void keep(double term)
    {
        if (static_cast<std::int64_t>(terms_.size()) >= maxTerms_) throw SubscriptOutOfRange();
        terms_.push_back(term);
    }
    StartPair startPair() const { return start_; }

    std::vector<double> take() { return std::move(terms_); }

private:
    StartPair start_;
    std::int64_t maxTerms_;
    std::vector<double> terms_;
};

} // namespace

std::vector<double> Cycle(const Sequence& sequence, double M, std::int64_t maxTerms)
{
    CollectedCycle walk(sequence, M, maxTerms);
    double prev = sequence.first;
    double cur = sequence.second;
    WalkCycle(prev, cur, sequence.r, sequence.s, M, walk);
    return walk.take();
}

namespace {

// Residues below this bound are grouped by value directly; any other value
// takes the sorted path.
constexpr double kBucketBound = 1 << 16;

// True for a whole number in 0 … bound − 1 (bound at most kBucketBound).
bool IsWholeBelow(double value, double bound)
{
    return value >= 0 && value < bound && static_cast<double>(static_cast<std::int32_t>(value)) == value;
}

// The positions (from 0) of sequence 1's terms grouped by value, each group in
// position order: `positions[start[v] … start[v + 1])` hold the value v.
// Works when every term is a whole number in 0 … kBucketBound; empty otherwise.
struct Buckets {
    std::vector<std::int32_t> start;
    std::vector<std::int32_t> positions;

    explicit Buckets(std::span<const double> cycle1)
    {
        double top = 0;
        for (const double value : cycle1) {
            if (!IsWholeBelow(value, kBucketBound)) return;
            top = std::max(top, value);
        }
        start.assign(static_cast<std::size_t>(top) + 2, 0);
        for (const double value : cycle1) ++start[static_cast<std::size_t>(value) + 1];
        for (std::size_t v = 1; v < start.size(); ++v) start[v] += start[v - 1];
        positions.resize(cycle1.size());
        std::vector<std::int32_t> next(start.begin(), start.end() - 1);
        for (std::size_t j = 0; j < cycle1.size(); ++j)
            positions[static_cast<std::size_t>(next[static_cast<std::size_t>(cycle1[j])]++)] =
                static_cast<std::int32_t>(j);
    }

    bool usable() const { return !start.empty(); }

    // The positions holding `value`; none for a value no term has.
    std::span<const std::int32_t> of(double value) const
    {
        if (!IsWholeBelow(value, static_cast<double>(start.size() - 1))) return {};
        const auto v = static_cast<std::size_t>(value);
        return std::span<const std::int32_t>(positions).subspan(
            static_cast<std::size_t>(start[v]), static_cast<std::size_t>(start[v + 1] - start[v]));
    }
};

// The general case: positions sorted by value, then by position.
std::vector<CommonMember> SortedCommonMembers(std::span<const double> cycle2, std::span<const double> cycle1)
{
    std::vector<std::pair<double, std::int64_t>> byValue(cycle1.size());
    for (std::size_t j = 0; j < cycle1.size(); ++j) byValue[j] = {cycle1[j], static_cast<std::int64_t>(j)};
    std::sort(byValue.begin(), byValue.end());

    std::vector<CommonMember> members;
    for (std::size_t i = 0; i < cycle2.size(); ++i) {
        const double value = cycle2[i];
        auto match = std::lower_bound(byValue.begin(), byValue.end(), value,
                                      [](const auto& entry, double v) { return entry.first < v; });
        for (; match != byValue.end() && match->first == value; ++match)
            members.push_back({value, match->second + 1, static_cast<std::int64_t>(i + 1)});
    }
    return members;
}

} // namespace

std::vector<CommonMember> CommonMembers(std::span<const double> cycle2, std::span<const double> cycle1)
{
    const Buckets buckets(cycle1);
    if (!buckets.usable()) return SortedCommonMembers(cycle2, cycle1);
    std::vector<CommonMember> members;
    for (std::size_t i = 0; i < cycle2.size(); ++i) {
        for (const std::int32_t j : buckets.of(cycle2[i]))
            members.push_back({cycle2[i], j + 1, static_cast<std::int64_t>(i + 1)});
    }
    return members;
}

double RoundedCommonValue(double value)
{
    const double n = std::nearbyint(value); // the default rounding: ties to even
    if (!(n >= 0)) throw SubscriptOutOfRange();
    return n;
}

std::int32_t FlaggedResidue(double value)
{
    const double n = RoundedCommonValue(value);
    if (n > kLastFlaggedResidue) throw SubscriptOutOfRange();
    return static_cast<std::int32_t>(n);
}

std::vector<std::int32_t> CommonResidues(std::span<const CommonMember> members, double M)
{
    const auto top = static_cast<std::int32_t>(std::clamp(std::floor(M), -1.0, double{kLastFlaggedResidue}));
    std::vector<char> flagged(static_cast<std::size_t>(top + 1));
    for (const CommonMember& member : members) {
        const std::int32_t n = FlaggedResidue(member.value);
        if (n <= top) flagged[static_cast<std::size_t>(n)] = 1;
    }
    std::vector<std::int32_t> residues;
    for (std::int32_t n = 0; n <= top; ++n)
        if (flagged[static_cast<std::size_t>(n)] != 0) residues.push_back(n);
    return residues;
}

} // namespace fibmod
