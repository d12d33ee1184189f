// SPDX-License-Identifier: MIT
// The tests' random draws replay the same for a seed on every standard library.
#include "tests/support/seeded_random.h"

#include <array>
#include <cstdint>

#include <gtest/gtest.h>

namespace fibmod::testing {
namespace {

TEST(SeededRandom, ASeedGivesTheSameDrawsEverywhere)
{
    // Fixed by std::mt19937_64's definition and the helper's own arithmetic.
    SeededRandom random(5489);
    std::array<std::uint64_t, 6> drawn{};
    for (std::uint64_t& x : drawn) x = random.below(1000);
    EXPECT_EQ(drawn, (std::array<std::uint64_t, 6>{30, 908, 720, 322, 596, 998}));
}

TEST(SeededRandom, StaysInsideItsRangeAndReachesBothEnds)
{
    SeededRandom random(7);
    bool low = false;
    bool high = false;
    for (int n = 0; n < 2000; ++n) {
        const int x = random.belowInt(3);
        ASSERT_GE(x, 0);
        ASSERT_LT(x, 3);
        low = low || x == 0;
        high = high || x == 2;
    }
    EXPECT_TRUE(low);
    EXPECT_TRUE(high);
}

} // namespace
} // namespace fibmod::testing
