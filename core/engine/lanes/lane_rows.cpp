// SPDX-License-Identifier: MIT
// The vector loop of a lane walk for every vector target Highway builds, and the choice among them at run time.
#include "core/engine/lanes/lane_rows.h"

#include <vector>

// Elsewhere than on x86-64 the build's own target alone: the choice at run
// time is made among x86-64's widths only.
#if !defined(__x86_64__) && !defined(HWY_COMPILE_ONLY_STATIC)
#define HWY_COMPILE_ONLY_STATIC 1
#endif

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "core/engine/lanes/lane_rows.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include "core/engine/lanes/shoup-inl.h"

HWY_BEFORE_NAMESPACE();
namespace fibmod::lanes::HWY_NAMESPACE {

namespace {

// A vector of 32-bit lanes, as wide as the target has.
using V32 = hn::VFromD<hn::ScalableTag<std::uint32_t>>;

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
    using V = V32;
    constexpr std::size_t kLanes = HWY_LANES(std::uint32_t);
    static_assert(kRowTerms % kLanes == 0);
    constexpr std::size_t kVectors = kRowTerms / kLanes;

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

void MulModShoupRows(const std::uint32_t* x, std::size_t count, std::uint32_t w, std::uint32_t M, std::uint32_t* out)
{
    const hn::ScalableTag<std::uint32_t> d;
    const V32 vw = hn::Set(d, w);
    const V32 wq = hn::Set(d, ShoupQuotient(w, M));
    const V32 vM = hn::Set(d, M);
    for (std::size_t i = 0; i < count; i += hn::Lanes(d))
        hn::StoreU(MulModShoup(d, hn::LoadU(d, x + i), vw, wq, vM), d, out + i);
}

} // namespace fibmod::lanes::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace fibmod::lanes {

namespace {

#if HWY_ARCH_X86
// Known targets only: each needs its instruction sets checked below.
static_assert((HWY_TARGETS & ~(HWY_AVX3 | HWY_AVX2 | HWY_SSE4 | HWY_SSSE3 | HWY_EMU128 | HWY_SCALAR)) == 0,
              "a vector target without a check of its instruction sets");

// True when this processor has every instruction set Highway compiles
// `target`'s code for (its target attribute), and the system saves the
// registers they use (which __builtin_cpu_supports checks too).
bool ProcessorRuns(std::int64_t target)
{
    __builtin_cpu_init();
    const bool ssse3 = __builtin_cpu_supports("sse2") && __builtin_cpu_supports("ssse3");
    const bool sse4 = ssse3 && __builtin_cpu_supports("sse4.1") && __builtin_cpu_supports("sse4.2") &&
                      __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("aes");
    const bool avx2 = sse4 && __builtin_cpu_supports("avx") && __builtin_cpu_supports("avx2") &&
                      __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
                      __builtin_cpu_supports("fma") && __builtin_cpu_supports("f16c");
    const bool avx3 = avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
                      __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512bw");
    switch (target) {
    case HWY_AVX3: return avx3;
    case HWY_AVX2: return avx2;
    case HWY_SSE4: return sse4;
    case HWY_SSSE3: return ssse3;
    default: return target == HWY_STATIC_TARGET;
    }
}
#endif

// One entry of the table: `target`'s loop, compiled in namespace N.
#define FIBMOD_LANE_TARGET(TARGET, N) \
    LaneTarget { hwy::TargetName(TARGET), ProcessorRuns(TARGET), &N::WalkRows, &N::MulModShoupRows }

std::vector<LaneTarget> CompiledTargets()
{
    std::vector<LaneTarget> targets;
#if HWY_ARCH_X86
#if (HWY_TARGETS & HWY_AVX3) && HWY_STATIC_TARGET != HWY_AVX3
    targets.push_back(FIBMOD_LANE_TARGET(HWY_AVX3, N_AVX3));
#endif
#if (HWY_TARGETS & HWY_AVX2) && HWY_STATIC_TARGET != HWY_AVX2
    targets.push_back(FIBMOD_LANE_TARGET(HWY_AVX2, N_AVX2));
#endif
#if (HWY_TARGETS & HWY_SSE4) && HWY_STATIC_TARGET != HWY_SSE4
    targets.push_back(FIBMOD_LANE_TARGET(HWY_SSE4, N_SSE4));
#endif
#if (HWY_TARGETS & HWY_SSSE3) && HWY_STATIC_TARGET != HWY_SSSE3
    targets.push_back(FIBMOD_LANE_TARGET(HWY_SSSE3, N_SSSE3));
#endif
#endif
    // Last the build's own, which needs no more than the program does.
    targets.push_back(LaneTarget{hwy::TargetName(HWY_STATIC_TARGET), true, &HWY_STATIC_DISPATCH(WalkRows),
                                 &HWY_STATIC_DISPATCH(MulModShoupRows)});
    return targets;
}

#undef FIBMOD_LANE_TARGET

} // namespace

std::span<const LaneTarget> LaneTargets()
{
    static const std::vector<LaneTarget> targets = CompiledTargets();
    return targets;
}

const LaneTarget& WidestLaneTarget()
{
    static const LaneTarget& widest = [] () -> const LaneTarget& {
        for (const LaneTarget& target : LaneTargets())
            if (target.runsHere) return target;
        return LaneTargets().back();
    }();
    return widest;
}

} // namespace fibmod::lanes
#endif
