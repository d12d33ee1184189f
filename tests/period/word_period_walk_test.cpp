// SPDX-License-Identifier: MIT
// Tests of the portable period engine that need no FLINT: against the walking
// engine, and its word arithmetic against plain 128-bit arithmetic.
#include "core/engine/period/word_period.h"

#include <cstdint>
#include <optional>
#include <random>

#include <gtest/gtest.h>

#include "core/engine/period/word_modular.h"
#include "core/engine/whole_cycle.h"
#include "tests/support/drawn_sequence.h"

namespace fibmod {
namespace {

std::uint64_t Reduced(std::int64_t x, std::uint64_t M)
{
    const auto m = static_cast<std::int64_t>(M);
    return static_cast<std::uint64_t>(((x % m) + m) % m);
}

// The walking engine's figures: pre-period 0 and the length for a start
// pair that comes back, else the tail and the cycle after it.
WordPeriod Walked(std::int64_t r, std::int64_t s, std::int64_t first, std::int64_t second, std::uint64_t M)
{
    ResidueSet residues(M);
    const WholeCycle cycle = WalkWholeCycle({Reduced(r, M), Reduced(s, M), Reduced(first, M), Reduced(second, M)}, M,
                                            std::nullopt, residues);
    return {static_cast<std::uint64_t>(cycle.tail), static_cast<WordUInt128>(cycle.length)};
}

TEST(WordPeriodCalculator, EqualsTheWalkingEngineForEveryModulusUpTo2000)
{
    std::mt19937_64 random(36);
    for (std::uint64_t M = 2; M <= 2000; ++M) {
        const auto [r, s, first, second] = test::DrawSequenceFor(M, random);
        WordPeriodCalculator calculator({{r, s, first, second}, {6, -1, 1, 1}}, 0);
        const WordModulusPeriods row = calculator.compute(M);
        ASSERT_EQ(row.periods[0], Walked(r, s, first, second, M))
            << "M = " << M << ", r = " << r << ", s = " << s << ", start " << first << ", " << second;
        ASSERT_EQ(row.periods[1], Walked(6, -1, 1, 1, M)) << "M = " << M;
    }
}

TEST(MulHighByHalves, EqualsTheHighWordOfTheFullProduct)
{
    std::mt19937_64 random(35);
    for (int i = 0; i < 100000; ++i) {
        const std::uint64_t a = random() >> (i % 64), b = i % 7 == 0 ? UINT64_MAX : random() >> (i / 64 % 64);
        ASSERT_EQ(MulHighByHalves(a, b), static_cast<std::uint64_t>((static_cast<WordUInt128>(a) * b) >> 64))
            << a << ' ' << b;
    }
}

TEST(MontgomeryRing, MultipliesAddsAndSubtractsAsPlainResidues)
{
    std::mt19937_64 random(37);
    for (int i = 0; i < 2000; ++i) {
        const std::uint64_t n = (random() >> (i % 62)) | 1 | (i % 5 == 0 ? std::uint64_t{1} << 63 : 3);
        const MontgomeryRing ring(n);
        const std::uint64_t a = random() % n, b = random() % n;
        const std::uint64_t x = ring.fromResidue(a), y = ring.fromResidue(b);
        ASSERT_EQ(ring.toResidue(ring.mul(x, y)), MulMod(a, b, n)) << n;
        ASSERT_EQ(ring.toResidue(ring.add(x, y)), static_cast<std::uint64_t>((static_cast<WordUInt128>(a) + b) % n));
        ASSERT_EQ(ring.toResidue(ring.sub(x, y)), a >= b ? a - b : n - (b - a));
        ASSERT_EQ(ring.toResidue(ring.one()), 1U);
    }
}

} // namespace
} // namespace fibmod
