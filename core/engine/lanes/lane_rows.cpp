// SPDX-License-Identifier: MIT
// The vector loop of a lane walk for every vector target Highway builds, and the choice among them at run time.
#include "core/engine/lanes/lane_rows.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "core/engine/lanes/lane_rows.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "core/engine/lanes/shoup-inl.h"

HWY_BEFORE_NAMESPACE();
namespace fibmod::lanes::HWY_NAMESPACE {

namespace {

// Rows between two looks at the stop token.
constexpr std::int64_t kRowsPerStopCheck = 4096;

// Flags the K terms of one row.
template <bool kBytes>
HWY_INLINE void FlagRow(const std::uint32_t* row, std::uint8_t* table)
{
    for (std::int64_t i = 0; i < kRowTerms; ++i) {
        const std::uint32_t v = row[i];
        if constexpr (kBytes)
            table[v] = 1;
        else
            table[v >> 3] = static_cast<std::uint8_t>(table[v >> 3] | 1u << (v & 7));
    }
}

// The first position p >= max(1, from) of row `row` (positions row·K …
// row·K + K − 1, terms in `terms`) where the start pair stands:
// a(p) = first, a(p + 1) = second, a(p + 1) being `after` for the row's
// last lane. −1 for none.
HWY_INLINE std::int64_t StartPairIn(const RowStart& start, const std::uint32_t* terms, std::uint32_t after,
                                    std::int64_t row)
{
    for (std::int64_t i = 0; i < kRowTerms; ++i) {
        const std::uint32_t next = i + 1 < kRowTerms ? terms[i + 1] : after;
        const std::int64_t position = row * kRowTerms + i;
        if (terms[i] == start.first && next == start.second && position != 0) return position;
    }
    return -1;
}

HWY_INLINE LaneWalk Ended(const RowStart& start, std::int64_t position)
{
    if (position > start.limit) return {LaneWalk::End::PastBound, 0};
    return {LaneWalk::End::Closed, position};
}

// Row t = a(tK … tK + K − 1) from rows t − 1 and t − 2, lane by lane:
// a(n + K) = v·a(n) − c·a(n − K), with c = 1 taken as it is. Each row is
// flagged two rows after it is made, so that the flag stores never wait for
// the row's own vector store; each row is searched for the start pair once
// the next row's first term is there.
template <bool kBytes, bool kPlainSecond>
LaneWalk Rows(const RowStart& start, std::uint8_t* table, const StopToken& stop)
{
    const hn::ScalableTag<std::uint32_t> d;
    using V = hn::VFromD<decltype(d)>;
    constexpr std::size_t kLanes = HWY_LANES(std::uint32_t);
    static_assert(kRowTerms % kLanes == 0);
    constexpr std::size_t kVectors = kRowTerms / kLanes;
    HWY_DASSERT(hn::Lanes(d) == kLanes);

    // Four rows in turn: the two being made from, the one made, the one to flag.
    HWY_ALIGN std::uint32_t ring[4][kRowTerms];
    bool hasFirst[4] = {false, true, false, false};
    for (std::int64_t i = 0; i < kRowTerms; ++i) {
        ring[0][i] = start.rows[static_cast<std::size_t>(i)];
        ring[1][i] = start.rows[static_cast<std::size_t>(kRowTerms + i)];
    }
    V before[kVectors];
    V now[kVectors];
    for (std::size_t k = 0; k < kVectors; ++k) {
        before[k] = hn::Load(d, ring[0] + k * kLanes);
        now[k] = hn::Load(d, ring[1] + k * kLanes);
    }
    const V M = hn::Set(d, start.M);
    const V v = hn::Set(d, start.v);
    const V vq = hn::Set(d, start.vq);
    const V c = hn::Set(d, start.c);
    const V cq = hn::Set(d, start.cq);
    const V first = hn::Set(d, start.first);

    // Row 1 is searched at t = 2 and so on; row `last` is the last one that
    // may hold a length within the limit.
    const std::int64_t last = start.limit / kRowTerms;
    std::int64_t t = 2;
    while (t <= last + 1) {
        const std::int64_t end = std::min(last + 1, t + kRowsPerStopCheck - 1);
        for (; t <= end; ++t) {
            std::uint32_t* made = ring[t & 3];
            auto seen = hn::FirstN(d, 0);
            for (std::size_t k = 0; k < kVectors; ++k) {
                const V product = MulModShoup(d, now[k], v, vq, M);
                const V second = kPlainSecond ? before[k] : MulModShoup(d, before[k], c, cq, M);
                const V next = SubMod(product, second, M);
                hn::Store(next, d, made + k * kLanes);
                seen = hn::Or(seen, hn::Eq(next, first));
                before[k] = now[k];
                now[k] = next;
            }
            hasFirst[t & 3] = !hn::AllFalse(d, seen);
            FlagRow<kBytes>(ring[(t - 2) & 3], table);
            if (HWY_UNLIKELY(hasFirst[(t - 1) & 3])) {
                const std::int64_t position = StartPairIn(start, ring[(t - 1) & 3], made[0], t - 1);
                if (position >= 0) {
                    FlagRow<kBytes>(ring[(t - 1) & 3], table);
                    FlagRow<kBytes>(made, table);
                    return Ended(start, position);
                }
            }
        }
        if (t <= last + 1 && stop.stop_requested()) return {LaneWalk::End::Stopped, 0};
    }
    return {LaneWalk::End::PastBound, 0};
}

} // namespace

LaneWalk WalkRows(const RowStart& start, std::uint8_t* table, bool bytes, const StopToken& stop)
{
    const bool plain = start.c == 1;
    if (bytes) return plain ? Rows<true, true>(start, table, stop) : Rows<true, false>(start, table, stop);
    return plain ? Rows<false, true>(start, table, stop) : Rows<false, false>(start, table, stop);
}

const char* TargetName() { return hwy::TargetName(HWY_TARGET); }

} // namespace fibmod::lanes::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace fibmod::lanes {

HWY_EXPORT(WalkRows);
HWY_EXPORT(TargetName);

namespace {

LaneWalk WalkRowsOnWidest(const RowStart& start, std::uint8_t* table, bool bytes, const StopToken& stop)
{
    return HWY_DYNAMIC_DISPATCH(WalkRows)(start, table, bytes, stop);
}

const char* WidestTargetName() { return HWY_DYNAMIC_DISPATCH(TargetName)(); }

} // namespace

const LaneRowsEntry& LaneRowsHere()
{
    static const LaneRowsEntry entry{&WalkRowsOnWidest, &WidestTargetName};
    return entry;
}

} // namespace fibmod::lanes
#endif
