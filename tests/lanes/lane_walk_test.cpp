// SPDX-License-Identifier: MIT
// The lane walk gives the plain walk's length, end and residues, on every vector target.
#include <cstdint>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "core/engine/lanes/lane_rows.h"
#include "core/engine/lanes/lane_walk.h"
#include "core/engine/whole_cycle.h"
#include "tests/support/seeded_random.h"

namespace {

using fibmod::ResidueSet;
using fibmod::TermBound;
using fibmod::WholeCycle;
using fibmod::WholeSequence;
using fibmod::lanes::LaneSequence;
using fibmod::lanes::LaneTarget;
using fibmod::lanes::LaneWalk;
using fibmod::testing::SeededRandom;

constexpr std::uint32_t kLargest = 2147483647; // 2^31 − 1, a prime

std::uint32_t PowMod(std::uint64_t base, std::uint64_t exponent, std::uint64_t M)
{
    std::uint64_t result = 1 % M;
    for (base %= M; exponent != 0; exponent >>= 1, base = base * base % M)
        if (exponent & 1) result = result * base % M;
    return static_cast<std::uint32_t>(result);
}

// Walks `seq` both ways and expects the same end, length and residues.
// `flags` is scratch, kept from walk to walk as the engine keeps it.
void ExpectAgree(const LaneTarget& target, const LaneSequence& seq, TermBound bound, ResidueSet& flags)
{
    const WholeSequence whole{seq.r, seq.s, seq.first, seq.second};
    ResidueSet met(seq.M);
    const WholeCycle plain = fibmod::WalkWholeCycle(whole, seq.M, bound, met);
    const LaneWalk lanes = fibmod::lanes::WalkInLanesOn(target, seq, bound, flags);
    const auto where = ::testing::Message() << "M " << seq.M << " r " << seq.r << " s " << seq.s << " start "
                                            << seq.first << ", " << seq.second << " bound "
                                            << (bound ? *bound : -1) << " on " << target.name;
    ASSERT_NE(plain.end, WholeCycle::End::NeverRecurs) << where;
    if (plain.end == WholeCycle::End::PastBound) {
        ASSERT_EQ(lanes.end, LaneWalk::End::PastBound) << where;
        return;
    }
    ASSERT_EQ(lanes, (LaneWalk{LaneWalk::End::Closed, plain.length})) << where;
    // Common with itself lists a set.
    const std::vector<std::int64_t> residues = Common(met, met);
    for (const std::int64_t residue : residues) ASSERT_TRUE(flags.has(static_cast<std::uint32_t>(residue))) << where;
    ASSERT_EQ(CommonCount(flags, flags), static_cast<std::int64_t>(residues.size())) << where;
}

// A sequence with random inputs modulo M, s prime to M.
LaneSequence RandomSequence(SeededRandom& draw, std::uint32_t M)
{
    LaneSequence seq{M, static_cast<std::uint32_t>(draw.below(M)), 0, static_cast<std::uint32_t>(draw.below(M)),
                     static_cast<std::uint32_t>(draw.below(M))};
    do seq.s = static_cast<std::uint32_t>(draw.below(M));
    while (std::gcd(seq.s, M) != 1);
    if (draw.chance(30)) seq.s = M - 1;
    return seq;
}

// a(n) = g^n + h^n with g and h of small order modulo 2^31 − 1: a cycle of
// a few thousand terms in the largest modulus.
LaneSequence ShortCycleInTheLargestModulus(SeededRandom& draw)
{
    // 2^31 − 2 = 2 · 3^2 · 7 · 11 · 31 · 151 · 331.
    const std::uint64_t orders[] = {151, 331, 31 * 11, 9 * 7 * 11, 151 * 7};
    const std::uint64_t g = PowMod(7, (kLargest - 1) / orders[draw.index(5)], kLargest);
    const std::uint64_t h = PowMod(7, (kLargest - 1) / orders[draw.index(5)], kLargest);
    const auto r = static_cast<std::uint32_t>((g + h) % kLargest);
    const auto s = static_cast<std::uint32_t>((kLargest - g * h % kLargest) % kLargest);
    return {kLargest, r, s, 2, r};
}

// The walk on each compiled target; those this processor lacks are skipped.
class LaneWalkTest : public ::testing::TestWithParam<LaneTarget> {
protected:
    void SetUp() override
    {
        if (!GetParam().runsHere) GTEST_SKIP() << GetParam().name << " does not run on this processor";
    }

    void ExpectAgree(const LaneSequence& seq, TermBound bound) { ::ExpectAgree(GetParam(), seq, bound, flags_); }
    LaneWalk Walk(const LaneSequence& seq, fibmod::StopToken stop = {})
    {
        return fibmod::lanes::WalkInLanesOn(GetParam(), seq, std::nullopt, flags_, std::move(stop));
    }

    ResidueSet flags_;
};

TEST_P(LaneWalkTest, AgreesWithThePlainWalkOverRandomInputsAndBounds)
{
    SeededRandom draw(21);
    for (int trial = 0; trial < 400; ++trial) {
        // Mostly small moduli, where cycles end in every lane of every row;
        // some up to 40,000 for tables of bits, with s = −1 there so that
        // the cycles stay within 2(M + 1) terms.
        const bool small = draw.chance(80);
        const auto M = static_cast<std::uint32_t>(small ? 2 + draw.below(400) : 2 + draw.below(40000));
        LaneSequence seq = RandomSequence(draw, M);
        if (!small) seq.s = M - 1;
        ExpectAgree(seq, std::nullopt);
        // The bound right at the length, one short of it, and random.
        const LaneWalk free = Walk(seq);
        for (const std::int64_t bound : {free.length, free.length - 1, 1 + static_cast<std::int64_t>(draw.below(2 * M))})
            if (bound >= 1) ExpectAgree(seq, bound);
    }
}

TEST_P(LaneWalkTest, AgreesInModuliNearTwoToThe31)
{
    SeededRandom draw(31);
    for (int trial = 0; trial < 4; ++trial) ExpectAgree(ShortCycleInTheLargestModulus(draw), std::nullopt);
    // Long cycles end at the bound, in both walks at once.
    for (int trial = 0; trial < 3; ++trial) {
        const auto M = static_cast<std::uint32_t>(kLargest - draw.below(1000));
        ExpectAgree(RandomSequence(draw, M), 1 + static_cast<std::int64_t>(draw.below(300000)));
    }
}

TEST_P(LaneWalkTest, DeclinesExactlyWhereTheStartPairMayNeverComeBack)
{
    SeededRandom draw(7);
    for (int trial = 0; trial < 600; ++trial) {
        const auto M = static_cast<std::uint32_t>(2 + draw.below(300));
        LaneSequence seq = RandomSequence(draw, M);
        seq.s = static_cast<std::uint32_t>(draw.below(M));
        EXPECT_EQ(fibmod::lanes::LanesTake(seq), std::gcd(seq.s, M) == 1);
        if (fibmod::lanes::LanesTake(seq)) ExpectAgree(seq, std::nullopt);
    }
}

TEST_P(LaneWalkTest, StopsWhenAsked)
{
    fibmod::StopSource stop;
    stop.request_stop();
    // r = 2, s = −1 counts up by one: a cycle of M terms, far more than
    // the walk takes between two looks at the token.
    constexpr std::uint32_t M = 10'000'000;
    const LaneSequence counting{M, 2, M - 1, 0, 1};
    EXPECT_EQ(Walk(counting, stop.get_token()).end, LaneWalk::End::Stopped);
}

std::string TargetName(const ::testing::TestParamInfo<LaneTarget>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(EveryTarget, LaneWalkTest, ::testing::ValuesIn(fibmod::lanes::LaneTargets()), TargetName);

} // namespace
