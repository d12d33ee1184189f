// SPDX-License-Identifier: MIT
// Tests of the period engine: plain walks, an independent check of orders, named and published cases.
#include "core/engine/period/period.h"

#include <array>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/engine/whole_cycle.h"
#include "tests/support/drawn_sequence.h"

namespace fibmod {
namespace {

using U128 = PeriodUInt128;

WholeInputs Inputs(std::int64_t r, std::int64_t s, std::int64_t first, std::int64_t second)
{
    return {BigInt(r), BigInt(s), BigInt(first), BigInt(second)};
}

std::uint64_t Reduce(std::int64_t x, std::uint64_t M)
{
    const auto m = static_cast<std::int64_t>(M);
    return static_cast<std::uint64_t>(((x % m) + m) % m);
}

struct Walked {
    std::uint64_t preperiod;
    std::uint64_t length;
};

// Every pair in turn, by Brent's method: the cycle's length first, then
// the first pair on it (a walk of its own, apart from the engine's).
Walked PlainWalk(std::int64_t r, std::int64_t s, std::int64_t first, std::int64_t second, std::uint64_t M)
{
    const std::uint64_t rr = Reduce(r, M), ss = Reduce(s, M);
    using Pair = std::pair<std::uint64_t, std::uint64_t>;
    const auto step = [&](Pair v) { return Pair{v.second, (rr * v.second + ss * v.first) % M}; };
    const Pair start{Reduce(first, M), Reduce(second, M)};
    std::uint64_t power = 1, length = 1;
    Pair tortoise = start, hare = step(start);
    while (tortoise != hare) {
        if (power == length) {
            tortoise = hare;
            power *= 2;
            length = 0;
        }
        hare = step(hare);
        ++length;
    }
    tortoise = hare = start;
    for (std::uint64_t k = 0; k < length; ++k) hare = step(hare);
    std::uint64_t preperiod = 0;
    for (; tortoise != hare; ++preperiod) {
        tortoise = step(tortoise);
        hare = step(hare);
    }
    return {preperiod, length};
}

Period Figures(std::uint64_t preperiod, std::uint64_t length) { return {BigInt(preperiod), BigInt(length)}; }

TEST(PeriodOf, EqualsAPlainWalkForEveryModulusUpTo3000)
{
    std::mt19937_64 random(20261209);
    for (std::uint64_t M = 2; M <= 3000; ++M) {
        const auto [r, s, first, second] = test::DrawSequenceFor(M, random);
        const Walked walked = PlainWalk(r, s, first, second, M);
        ASSERT_EQ(PeriodOf(Inputs(r, s, first, second), BigInt(M)), Figures(walked.preperiod, walked.length))
            << "M = " << M << ", r = " << r << ", s = " << s << ", start " << first << ", " << second;
    }
}

// The figures of the walking engine: a start pair that comes back, and one
// that does not (the row's error line "Vorlauf 4, Zyklus 6" for M = 12).
TEST(PeriodOf, GivesTheWalkingEnginesFigures)
{
    ResidueSet residues(12);
    const WholeCycle walked = WalkWholeCycle({4, 2, 1, 1}, 12, std::nullopt, residues);
    ASSERT_EQ(walked.end, WholeCycle::End::NeverRecurs);
    EXPECT_EQ(PeriodOf(Inputs(4, 2, 1, 1), BigInt(12)), Figures(walked.tail, walked.length));
    EXPECT_EQ(PeriodOf(Inputs(4, 2, 1, 1), BigInt(12)), Figures(4, 6));

    for (const std::uint64_t M : {999U, 1000U, 1024U, 2047U}) {
        ResidueSet set(M);
        const WholeCycle closed = WalkWholeCycle({6, M - 1, 1, 1}, M, std::nullopt, set);
        ASSERT_EQ(closed.end, WholeCycle::End::Closed);
        EXPECT_EQ(PeriodOf(Inputs(6, -1, 1, 1), BigInt(M)), Figures(0, closed.length)) << M;
    }
}

TEST(PeriodOf, NamedCasesWhereNoLiftingRuleHolds)
{
    // Start ≡ 0 mod 3: period 1 mod 3, but 8 mod 9.
    EXPECT_EQ(PeriodOf(Inputs(1, 1, 0, 3), BigInt(3)), Figures(0, 1));
    EXPECT_EQ(PeriodOf(Inputs(1, 1, 0, 3), BigInt(9)), Figures(0, 8));
    const Walked mod27 = PlainWalk(1, 1, 0, 3, 27);
    EXPECT_EQ(PeriodOf(Inputs(1, 1, 0, 3), BigInt(27)), Figures(mod27.preperiod, mod27.length));
    // An eigenvector mod 7: period 1 mod 7, 42 mod 49.
    EXPECT_EQ(PeriodOf(Inputs(-3, -3, 1, 1), BigInt(7)), Figures(0, 1));
    EXPECT_EQ(PeriodOf(Inputs(-3, -3, 1, 1), BigInt(49)), Figures(0, 42));
    // p | s: a pre-period.
    EXPECT_EQ(PeriodOf(Inputs(3, 2, 0, 1), BigInt(4)), Figures(2, 1));
    // p | r and p | s: the sequence dies out.
    const Walked dies = PlainWalk(5, 10, 1, 1, 125);
    EXPECT_EQ(dies.length, 1U);
    EXPECT_EQ(PeriodOf(Inputs(5, 10, 1, 1), BigInt(125)), Figures(dies.preperiod, 1));
    // Start 0, 0; r ≡ 0; s ≡ 0; p = 2.
    EXPECT_EQ(PeriodOf(Inputs(6, -1, 0, 0), BigInt(1000003)), Figures(0, 1));
    for (const auto& [r, s, a, b, M] : std::vector<std::array<std::int64_t, 5>>{
             {0, 5, 1, 2, 1024}, {7, 0, 1, 2, 1024}, {0, 0, 3, 4, 1000}, {1, 1, 0, 1, 2}, {3, 3, 1, 0, 4096}}) {
        const Walked walked = PlainWalk(r, s, a, b, static_cast<std::uint64_t>(M));
        EXPECT_EQ(PeriodOf(Inputs(r, s, a, b), BigInt(M)), Figures(walked.preperiod, walked.length))
            << r << " " << s << " " << a << " " << b << " mod " << M;
    }
    // A prime where the period does not grow from p to p².
    const BigInt p(std::uint64_t{1192625911});
    BigInt p2;
    fmpz_mul(p2.get(), p.get(), p.get());
    EXPECT_EQ(PeriodOf(Inputs(17, 1, 0, 1), p), Figures(0, 2385251824U));
    EXPECT_EQ(PeriodOf(Inputs(17, 1, 0, 1), p2), Figures(0, 2385251824U));
}

TEST(PeriodOf, PublishedPisanoAndLucasPeriods)
{
    const std::vector<int> pisano{3, 8, 6, 20, 24, 16, 12, 24, 60, 10, 24, 28};
    const std::vector<int> lucas{3, 8, 6, 4, 24, 16, 12, 24, 12, 10, 24, 28};
    for (int M = 2; M <= 13; ++M) {
        EXPECT_EQ(PeriodOf(Inputs(1, 1, 0, 1), BigInt(M)).length, BigInt(pisano[M - 2])) << M;
        EXPECT_EQ(PeriodOf(Inputs(1, 1, 2, 1), BigInt(M)).length, BigInt(lucas[M - 2])) << M;
    }
    // 10^k: 15·10^(k−1), up to the largest power of ten below 2^127.
    std::string power = "1000";
    for (int k = 3; k <= 38; ++k, power += '0') {
        const std::string expected = "15" + power.substr(2);
        EXPECT_EQ(PeriodOf(Inputs(1, 1, 0, 1), BigInt::FromDecimal(power)), (Period{BigInt(0), BigInt::FromDecimal(expected)}))
            << power;
    }
    // 2^127 − 1: 2^128.
    BigInt two128(1);
    fmpz_mul_2exp(two128.get(), two128.get(), 128);
    EXPECT_EQ(PeriodOf(Inputs(1, 1, 0, 1), PeriodModulusMax()), (Period{BigInt(0), two128}));
}

TEST(PeriodOf, TakesInputsOfAnySizeReducedFirst)
{
    const BigInt huge = BigInt::FromDecimal("-123456789012345678901234567890123456789012345");
    const BigInt M(std::uint64_t{1000003});
    const BigInt reduced = Residue(huge, M);
    EXPECT_EQ(PeriodOf({huge, BigInt(-1), huge, BigInt(1)}, M), PeriodOf({reduced, BigInt(-1), reduced, BigInt(1)}, M));
    EXPECT_THROW(PeriodOf(Inputs(1, 1, 0, 1), BigInt(1)), std::invalid_argument);
    BigInt tooLarge = PeriodModulusMax();
    fmpz_add_ui(tooLarge.get(), tooLarge.get(), 1);
    EXPECT_THROW(PeriodOf(Inputs(1, 1, 0, 1), tooLarge), std::invalid_argument);
}

// An independent check for moduli too large to walk: the pair after the
// pre-period comes back after the period and after no period/q, and the
// pair before it never comes back; the matrix powers by plain repeated
// squaring in 128-bit arithmetic.
struct Pair128 {
    U128 x, y;
    friend bool operator==(const Pair128&, const Pair128&) = default;
};

Pair128 StepPower(U128 r, U128 s, Pair128 v, const BigInt& n, U128 M)
{
    // A^n·v with A = [[0, 1], [s, r]], squaring from the lowest bit up.
    U128 a = 0, b = 1, c = s, d = r;                   // A^(2^i)
    U128 ra = 1, rb = 0, rc = 0, rd = 1;               // the product so far
    for (std::uint64_t bit = 0; bit < n.bits(); ++bit) {
        if (fmpz_tstbit(n.get(), bit)) {
            const U128 na = (ra * a + rb * c) % M, nb = (ra * b + rb * d) % M;
            const U128 nc = (rc * a + rd * c) % M, nd = (rc * b + rd * d) % M;
            ra = na, rb = nb, rc = nc, rd = nd;
        }
        const U128 sa = (a * a + b * c) % M, sb = (a * b + b * d) % M;
        const U128 sc = (c * a + d * c) % M, sd = (c * b + d * d) % M;
        a = sa, b = sb, c = sc, d = sd;
    }
    return {(ra * v.x + rb * v.y) % M, (rc * v.x + rd * v.y) % M};
}

TEST(PeriodOf, RandomModuliUpTo10To18PassAnIndependentCheck)
{
    std::mt19937_64 random(4711);
    std::uniform_int_distribution<std::uint64_t> modulus(2, 1000000000000000000ULL);
    std::uniform_int_distribution<std::int64_t> small(-1000, 1000);
    for (int round = 0; round < 150; ++round) {
        std::uint64_t M = modulus(random);
        // Some moduli with a repeated prime.
        if (round % 5 == 0) M = (M % 1000000 + 2) * (M % 1000 + 2) * (M % 1000 + 2);
        const std::int64_t r = small(random), first = small(random), second = small(random);
        // s shares a factor with M in every third round.
        std::int64_t s = small(random);
        if (round % 3 == 0) s = static_cast<std::int64_t>(Factor(BigInt(M)).front().prime.toUInt64()) * 3;
        const Period found = PeriodOf(Inputs(r, s, first, second), BigInt(M));
        ASSERT_TRUE(found.preperiod.fitsUInt64());
        const std::uint64_t t = found.preperiod.toUInt64();
        const U128 rr = Reduce(r, M), ss = Reduce(s, M);
        Pair128 v{Reduce(first, M), Reduce(second, M)};
        Pair128 before = v;
        for (std::uint64_t k = 0; k < t; ++k) {
            before = v;
            v = {v.y, (ss * v.x + rr * v.y) % M};
        }
        const std::string where = "M = " + std::to_string(M) + ", r = " + std::to_string(r) +
                                  ", s = " + std::to_string(s);
        EXPECT_EQ(StepPower(rr, ss, v, found.length, M), v) << where;
        if (t > 0) {
            EXPECT_NE(StepPower(rr, ss, before, found.length, M), before) << where;
        }
        for (const PrimePower& q : Factor(found.length)) {
            BigInt shorter;
            fmpz_divexact(shorter.get(), found.length.get(), q.prime.get());
            EXPECT_NE(StepPower(rr, ss, v, shorter, M), v) << where << ", q = " << q.prime.toString();
        }
    }
}

TEST(PeriodCalculator, GivesTheSameWithAndWithoutItsCache)
{
    const std::vector<WholeInputs> sequences{Inputs(6, -1, 1, 1), Inputs(4, -1, 1, 1), Inputs(3, 6, 0, 1)};
    PeriodCalculator cached(sequences);
    PeriodCalculator plain(sequences, 0);
    for (std::uint64_t M = 1000000000000ULL; M < 1000000000000ULL + 300; ++M) {
        const ModulusPeriods a = cached.compute(BigInt(M));
        const ModulusPeriods b = plain.compute(BigInt(M));
        ASSERT_EQ(a.periods, b.periods) << M;
        ASSERT_EQ(a.factors, b.factors) << M;
    }
    EXPECT_GT(cached.cachedCount(), 0U);
    EXPECT_EQ(plain.cachedCount(), 0U);
}

} // namespace
} // namespace fibmod
