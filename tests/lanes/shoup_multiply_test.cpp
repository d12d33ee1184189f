// SPDX-License-Identifier: MIT
// Shoup's multiply, plain and in the lanes of every vector target, against the plain product's remainder.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/engine/lanes/lane_rows.h"
#include "core/engine/lanes/row_start.h"
#include "tests/support/seeded_random.h"

namespace {

using fibmod::lanes::kRowTerms;
using fibmod::lanes::LaneTarget;
using fibmod::testing::SeededRandom;

// The largest modulus the lanes take: 2^31 − 1.
constexpr std::uint32_t kLargest = (std::uint32_t{1} << 31) - 1;

// A modulus for trial `trial`: the ends of the range now and then, else
// any size, small ones as likely as large ones.
std::uint32_t DrawModulus(SeededRandom& draw, int trial)
{
    if (trial % 10 == 0) return trial % 20 == 0 ? kLargest : 2;
    const int bits = 1 + draw.belowInt(31);
    const std::uint64_t top = std::min<std::uint64_t>(std::uint64_t{1} << bits, kLargest);
    return static_cast<std::uint32_t>(2 + draw.below(top - 1));
}

// A factor x below 2^32 for modulus M: a residue, a value near 2^32, or
// anything in between.
std::uint32_t DrawFactor(SeededRandom& draw, std::uint32_t M)
{
    switch (draw.belowInt(4)) {
    case 0: return static_cast<std::uint32_t>(draw.below(M));
    case 1: return M - 1;
    case 2: return ~std::uint32_t{0} - static_cast<std::uint32_t>(draw.below(4));
    default: return static_cast<std::uint32_t>(draw.below(std::uint64_t{1} << 32));
    }
}

std::uint32_t Reference(std::uint32_t x, std::uint32_t w, std::uint32_t M)
{
    return static_cast<std::uint32_t>(std::uint64_t{x} * w % M);
}

TEST(ShoupMultiplyTest, PlainIsTheProductsRemainderForEveryModulusUpToTheLargest)
{
    SeededRandom draw(3);
    for (int trial = 0; trial < 200000; ++trial) {
        const std::uint32_t M = DrawModulus(draw, trial);
        const auto w = static_cast<std::uint32_t>(trial % 7 == 0 ? M - 1 : draw.below(M));
        const std::uint32_t x = DrawFactor(draw, M);
        ASSERT_EQ(fibmod::lanes::MulModShoup(x, w, fibmod::lanes::ShoupQuotient(w, M), M), Reference(x, w, M))
            << x << " · " << w << " mod " << M;
    }
}

// The vector multiply on each compiled target; those this processor lacks are skipped.
class LaneShoupMultiplyTest : public ::testing::TestWithParam<LaneTarget> {};

TEST_P(LaneShoupMultiplyTest, EveryLaneIsTheProductsRemainderForEveryModulusUpToTheLargest)
{
    const LaneTarget& target = GetParam();
    if (!target.runsHere) GTEST_SKIP() << target.name << " does not run on this processor";
    SeededRandom draw(5);
    std::vector<std::uint32_t> x(kRowTerms);
    std::vector<std::uint32_t> product(kRowTerms);
    for (int trial = 0; trial < 20000; ++trial) {
        const std::uint32_t M = DrawModulus(draw, trial);
        const auto w = static_cast<std::uint32_t>(trial % 7 == 0 ? M - 1 : draw.below(M));
        for (std::uint32_t& factor : x) factor = DrawFactor(draw, M);
        target.mulModShoup(x.data(), x.size(), w, M, product.data());
        for (std::size_t i = 0; i < x.size(); ++i)
            ASSERT_EQ(product[i], Reference(x[i], w, M)) << "lane " << i << ": " << x[i] << " · " << w << " mod " << M
                                                         << " on " << target.name;
    }
}

std::string TargetName(const ::testing::TestParamInfo<LaneTarget>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(EveryTarget, LaneShoupMultiplyTest, ::testing::ValuesIn(fibmod::lanes::LaneTargets()),
                         TargetName);

TEST(LaneTargetsTest, EndWithTheBaselineThatRunsEverywhereAndWalkOnTheWidestThatRunsHere)
{
    const auto targets = fibmod::lanes::LaneTargets();
    ASSERT_FALSE(targets.empty());
    EXPECT_TRUE(targets.back().runsHere);
    const LaneTarget& widest = fibmod::lanes::WidestLaneTarget();
    EXPECT_TRUE(widest.runsHere);
    for (const LaneTarget& target : targets) {
        if (&target == &widest) break;
        EXPECT_FALSE(target.runsHere) << target.name << " runs here and is wider than " << widest.name;
    }
}

} // namespace
