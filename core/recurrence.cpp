// The recurrence, its cycle and the common members of two cycles.
#include "core/recurrence.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/number_rules.h"
#include "core/run_time_error.h"

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
    CollectedCycle(const Sequence& sequence, double M)
        : start_(ReducedStart(sequence.first, sequence.second, M))
    {
        terms_.reserve(64);
    }

    bool proceed() const { return true; }
    void keep(double term)
    {
        if (terms_.size() >= static_cast<std::size_t>(kMaxCycleTerms)) throw SubscriptOutOfRange();
        terms_.push_back(term);
    }
    StartPair startPair() const { return start_; }

    std::vector<double> take() { return std::move(terms_); }

private:
    StartPair start_;
    std::vector<double> terms_;
};

} // namespace

std::vector<double> Cycle(const Sequence& sequence, double M)
{
    CollectedCycle walk(sequence, M);
    double prev = sequence.first;
    double cur = sequence.second;
    WalkCycle(prev, cur, sequence.r, sequence.s, M, walk);
    return walk.take();
}

std::vector<CommonMember> CommonMembers(std::span<const double> cycle2, std::span<const double> cycle1)
{
    // Positions in sequence 1 sorted by value, then by position, so that each
    // term of sequence 2 finds its equals in position order.
    std::vector<std::int32_t> byValue(cycle1.size());
    std::iota(byValue.begin(), byValue.end(), 0);
    std::sort(byValue.begin(), byValue.end(), [&cycle1](std::int32_t a, std::int32_t b) {
        const double va = cycle1[static_cast<std::size_t>(a)];
        const double vb = cycle1[static_cast<std::size_t>(b)];
        return va < vb || (va == vb && a < b);
    });
    const auto valueAt = [&cycle1](std::int32_t j) { return cycle1[static_cast<std::size_t>(j)]; };

    std::vector<CommonMember> members;
    for (std::size_t i = 0; i < cycle2.size(); ++i) {
        const double value = cycle2[i];
        auto match = std::lower_bound(byValue.begin(), byValue.end(), value,
                                      [&valueAt](std::int32_t j, double v) { return valueAt(j) < v; });
        for (; match != byValue.end() && valueAt(*match) == value; ++match)
            members.push_back({value, *match + 1, static_cast<std::int32_t>(i + 1)});
    }
    return members;
}

std::int32_t FlaggedResidue(double value)
{
    const double n = std::nearbyint(value); // the default rounding: ties to even
    if (!(n >= 0 && n <= kLastFlaggedResidue)) throw SubscriptOutOfRange();
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
