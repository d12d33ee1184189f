// SPDX-License-Identifier: MIT
// The engine past the window's bounds: exact integers against the window's
// doubles, the lane walks against one term at a time, and both
// against a plain loop written here, with no bound, never-recurring start
// pairs, streaming order, look-ahead and failures on the workers.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>

#include "core/engine/inputs.h"
#include "core/engine/modulus_row.h"
#include "core/engine/scan.h"
#include "core/engine/whole_cycle.h"
#include "tests/support/collected_scan.h"

namespace fibmod {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Uniform enough for test cases, and the same on every standard library:
// std::mt19937_64's output is fixed by the standard, the reduction is ours.
class Draw {
public:
    explicit Draw(std::uint64_t seed) : engine_(seed) {}
    std::int64_t between(std::int64_t low, std::int64_t high)
    {
        const std::uint64_t width = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low) + 1;
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(low) + engine_() % width);
    }

private:
    std::mt19937_64 engine_;
};

// What a plain loop finds for one sequence: the terms until the start pair
// comes back, or the tail and cycle of a start pair that never does.
struct PlainCycle {
    std::set<std::int64_t> residues;
    std::int64_t length = 0;
    bool recurs = true;
    std::int64_t tail = 0;
};

std::int64_t Mod(std::int64_t x, std::int64_t M) { return ((x % M) + M) % M; }

PlainCycle PlainWalk(std::int64_t r, std::int64_t s, std::int64_t a0, std::int64_t a1, std::int64_t M)
{
    r = Mod(r, M), s = Mod(s, M), a0 = Mod(a0, M), a1 = Mod(a1, M);
    PlainCycle cycle;
    // The step at which each pair was met, from 1; 0 for a pair not met.
    std::vector<std::int32_t> seen(static_cast<std::size_t>(M * M));
    const auto at = [&seen, M](std::int64_t p, std::int64_t c) -> std::int32_t& {
        return seen[static_cast<std::size_t>(p * M + c)];
    };
    at(a0, a1) = 1;
    std::int64_t prev = a0, cur = a1;
    std::vector<std::int64_t> terms;
    for (std::int64_t step = 1;; ++step) {
        const std::int64_t next = (r * cur + s * prev) % M;
        terms.push_back(next);
        prev = cur;
        cur = next;
        if (prev == a0 && cur == a1) {
            cycle.length = step;
            cycle.residues.insert(terms.begin(), terms.end());
            return cycle;
        }
        std::int32_t& met = at(prev, cur);
        if (met != 0) {
            cycle.recurs = false;
            cycle.tail = met - 1;
            cycle.length = step + 1 - met;
            return cycle;
        }
        met = static_cast<std::int32_t>(step + 1);
    }
}

Inputs WholeInputs(std::int64_t r1, std::int64_t s1, std::int64_t a1, std::int64_t b1, std::int64_t r2, std::int64_t s2,
                   std::int64_t a2, std::int64_t b2)
{
    const auto d = [](std::int64_t x) { return static_cast<double>(x); };
    return {.one = {.r = d(r1), .s = d(s1), .first = d(a1), .second = d(b1)},
            .two = {.r = d(r2), .s = d(s2), .first = d(a2), .second = d(b2)}};
}

// The row the plain loops give with no bound.
ScanRow PlainRow(const Inputs& in, std::int64_t M)
{
    const auto i = [](double x) { return static_cast<std::int64_t>(x); };
    const PlainCycle two = PlainWalk(i(in.two.r), i(in.two.s), i(in.two.first), i(in.two.second), M);
    const PlainCycle one = PlainWalk(i(in.one.r), i(in.one.s), i(in.one.first), i(in.one.second), M);
    ScanRow row;
    row.modulus = M;
    for (const auto& [cycle, n] : {std::pair{&two, 2}, std::pair{&one, 1}}) {
        if (cycle->recurs) continue;
        return NeverRecursRow(M, n, cycle->tail, cycle->length);
    }
    row.length1 = one.length;
    row.length2 = two.length;
    std::set_intersection(one.residues.begin(), one.residues.end(), two.residues.begin(), two.residues.end(),
                          std::back_inserter(row.residues));
    return row;
}

TEST(EngineTest, ExactIntegersGiveTheWindowsRowsWhereItsDoublesAreExact)
{
    Draw draw(20261208);
    // Values up to the edge of 2^53 for some, small ones for most.
    const auto value = [&draw](int kind) -> std::int64_t {
        constexpr std::int64_t kEdge = std::int64_t{1} << 53;
        switch (kind) {
        case 0: return draw.between(-kEdge, kEdge);
        case 1: return draw.between(-kEdge / 4096, kEdge / 4096);
        default: return draw.between(-12, 12);
        }
    };
    int exact = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        const int kind = static_cast<int>(draw.between(0, 4));
        const Inputs in = WholeInputs(value(kind), value(kind), value(kind), value(kind), value(2), value(2),
                                      value(kind), value(kind));
        const std::int64_t M = draw.between(2, 2000);
        if (!UsesWholeNumbers(in, M, kWindowTermBound)) continue;
        ++exact;
        ASSERT_EQ(ScanModulusInIntegers(in, M, kWindowTermBound), ScanModulusInDoubles(in, M, kMaxCycleTerms))
            << "trial " << trial << ", M = " << M << ", r1 " << in.one.r << ", s1 " << in.one.s << ", start1 "
            << in.one.first << "," << in.one.second;
    }
    EXPECT_GT(exact, 1500);
}

TEST(EngineTest, TheWindowsDoublesStayWhereTheyAreNotExact)
{
    // 2^53 + 1 as typed is read as 2^53; the window's products round.
    const Inputs in = WholeInputs(9007199254740993, 3, 1, 1, 4, -1, 1, 1);
    EXPECT_FALSE(UsesWholeNumbers(in, 1999, kWindowTermBound));
    EXPECT_EQ(ScanModulus(in, 1999), ScanModulusInDoubles(in, 1999, kMaxCycleTerms));
    // Above the window's moduli the same inputs are exact integers.
    EXPECT_TRUE(UsesWholeNumbers(in, 2001, kWindowTermBound));
}

TEST(EngineTest, RowsPastTheWindowsBoundsEqualAPlainLoop)
{
    Draw draw(7);
    for (int trial = 0; trial < 72; ++trial) {
        const auto small = [&draw] { return draw.between(-30, 30); };
        const Inputs in = WholeInputs(small(), small(), small(), small(), small(), small(), small(), small());
        const std::int64_t M = trial % 12 != 0 ? draw.between(2, 80) : draw.between(2001, 2100);
        ASSERT_EQ(ScanModulus(in, M, std::nullopt), PlainRow(in, M))
            << "trial " << trial << ", M = " << M << ": " << in.one.r << " " << in.one.s << " " << in.one.first << " "
            << in.one.second << " / " << in.two.r << " " << in.two.s << " " << in.two.first << " " << in.two.second;
    }
}

TEST(EngineTest, CyclesLongerThanTheWindowsBoundNeedABoundAsLongAsThem)
{
    // The Fibonacci numbers modulo 1997 run through 3996 pairs, modulo
    // 1500 through exactly the window's 3000.
    const Inputs fibonacci = WholeInputs(1, 1, 0, 1, 1, 1, 0, 1);
    EXPECT_EQ(ScanModulus(fibonacci, 1997).failureText(), "Laufzeitfehler 9: Index außerhalb des gültigen Bereichs");
    EXPECT_TRUE(ScanModulus(fibonacci, 1997, 3995).runTimeError());
    const ScanRow row = ScanModulus(fibonacci, 1997, 3996);
    EXPECT_EQ(row.length1, 3996);
    EXPECT_EQ(row, ScanModulus(fibonacci, 1997, std::nullopt));
    EXPECT_EQ(row, PlainRow(fibonacci, 1997));
    EXPECT_EQ(ScanModulus(fibonacci, 1500).length1, 3000);
    EXPECT_TRUE(ScanModulus(fibonacci, 1500, 2999).runTimeError());
    // The scan draws the same line.
    ScanOptions options;
    options.maxTerms = 2999;
    EXPECT_TRUE(Scan(fibonacci, {1500, 1500}, options)->front().runTimeError());
    options.maxTerms = 3000;
    EXPECT_EQ(Scan(fibonacci, {1500, 1500}, options)->front().length1, 3000);
}

TEST(EngineTest, AStartPairThatNeverComesBackIsFoundWithoutABound)
{
    // s = 2 shares the factor 2 with M = 8: 1, 1 runs into a cycle it never leaves.
    const Inputs in = WholeInputs(6, -1, 1, 1, 1, 2, 1, 1);
    const ScanRow row = ScanModulus(in, 8, std::nullopt);
    ASSERT_TRUE(row.neverRecurs());
    EXPECT_EQ(row, PlainRow(in, 8));
    EXPECT_THAT(row.failureText(), HasSubstr("Folge 2: Startpaar kehrt nicht wieder (Vorlauf "));
    // Any bound makes it the window's error 9, a huge one too.
    EXPECT_EQ(ScanModulus(in, 8).failure->error, 9);
    EXPECT_EQ(ScanModulus(in, 8, kTermBoundMax).failure->error, 9);
    // Non-whole inputs have no such search: they need a bound.
    Inputs half = in;
    half.one.r = 0.5;
    EXPECT_FALSE(BoundFits(half, std::nullopt));
    EXPECT_THAT(BoundProblem(half, std::nullopt), HasSubstr("ganze Zahlen"));
    EXPECT_THROW(ScanModulus(half, 8, std::nullopt), std::invalid_argument);
}

TEST(EngineTest, TheScanInLanesGivesEveryRowAsThePlainWalk)
{
    Draw draw(99);
    for (int trial = 0; trial < 10; ++trial) {
        const auto small = [&draw] { return draw.between(-9, 9); };
        const Inputs in = WholeInputs(small(), small(), small(), small(), small(), small(), small(), small());
        const TermBound bound = trial % 3 == 0 ? TermBound() : TermBound(draw.between(1, 4000));
        const std::int64_t from = draw.between(2, 2500);
        const ModulusRange range{from, from + draw.between(0, 120)};
        for (const unsigned threads : {1u, 2u}) {
            ScanOptions options;
            options.threads = threads;
            options.maxTerms = bound;
            const auto rows = Scan(in, range, options);
            ASSERT_TRUE(rows.has_value());
            ASSERT_EQ(rows->size(), static_cast<std::size_t>(range.to - range.from + 1));
            for (const ScanRow& row : *rows)
                ASSERT_EQ(row, UsesWholeNumbers(in, row.modulus, bound) ? ScanModulusPlainly(in, row.modulus, bound)
                                                                         : ScanModulus(in, row.modulus, bound))
                    << "trial " << trial << ", threads " << threads;
        }
    }
}

TEST(EngineTest, AScanForCountsAloneGivesEveryRowsCountWithoutItsResidues)
{
    // Fractional inputs (doubles), whole ones below and above the lanes'
    // first modulus, an error row, and s sharing factors with M.
    for (const Inputs& in : {ValuesOf(kDesignTimeInputs), WholeInputs(3, 2, 1, 1, 5, 6, 2, 7),
                             WholeInputs(1, 1, 0, 1, 1, 1, 0, 1)}) {
        for (const TermBound bound : {TermBound(3000), TermBound()}) {
            ScanOptions options;
            options.maxTerms = bound;
            options.threads = 2;
            const auto listed = Scan(in, {1990, 2100}, options);
            options.residues = false;
            const auto counted = Scan(in, {1990, 2100}, options);
            ASSERT_TRUE(listed && counted);
            ASSERT_EQ(listed->size(), counted->size());
            for (std::size_t i = 0; i < listed->size(); ++i) {
                ScanRow expected = (*listed)[i];
                expected.dropResidues();
                ASSERT_EQ((*counted)[i], expected) << (*listed)[i].modulus;
                EXPECT_EQ((*counted)[i].commonCount(), (*listed)[i].commonCount());
            }
        }
    }
}

TEST(EngineTest, RowsComeInOrderAndTheWorkersStayABoundedDistanceAhead)
{
    for (const unsigned threads : {1u, 2u}) {
        ScanOptions options;
        options.threads = threads;
        options.maxTerms = std::nullopt;
        std::atomic<std::int64_t> begun{0};
        options.beforeModulus = [&begun](std::int64_t m) {
            std::int64_t seen = begun.load();
            while (m > seen && !begun.compare_exchange_weak(seen, m)) {
            }
        };
        std::int64_t expected = 2;
        std::int64_t furthest = 0;
        ASSERT_TRUE(ScanRows(ValuesOf(kDesignTimeInputs), {2, 3000}, options, [&](ScanRow&& row) {
            ASSERT_EQ(row.modulus, expected++);
            furthest = std::max(furthest, begun.load() - row.modulus);
        }));
        EXPECT_EQ(expected, 3001);
        // The ring holds 128 moduli a thread.
        EXPECT_LE(furthest, 128 * static_cast<std::int64_t>(threads));
    }
}

TEST(EngineTest, ReachesTheLargestModulus)
{
    const Inputs zero = WholeInputs(1, 1, 0, 0, 3, 5, 0, 0);
    const ScanRow row = ScanModulus(zero, kEngineModulusMax, std::nullopt);
    EXPECT_EQ(row.length1, 1);
    EXPECT_EQ(row.length2, 1);
    EXPECT_THAT(row.residues, ElementsAre(0));
    const auto rows = Scan(zero, {kEngineModulusMax - 3, kEngineModulusMax + 5});
    ASSERT_TRUE(rows.has_value());
    EXPECT_EQ(rows->size(), 4u);
}

TEST(EngineTest, TheReductionIsExactForEverySizeOfModulus)
{
    Draw draw(3);
    for (int trial = 0; trial < 100000; ++trial) {
        const auto M = static_cast<std::uint64_t>(draw.between(2, kEngineModulusMax));
        const auto x = static_cast<std::uint64_t>(draw.between(0, std::numeric_limits<std::int64_t>::max()));
        ASSERT_EQ(Reducer(M)(x), x % M) << x << " mod " << M;
    }
    // The largest sum of two products: (M − 1)² · 2 ≡ 2.
    EXPECT_EQ(Reducer(2147483647)(std::uint64_t{2147483646} * 2147483646 * 2), 2u);
}

TEST(EngineTest, TwoCyclesWalkedInStepAreEachAsWalkedAlone)
{
    Draw draw(5);
    for (int trial = 0; trial < 500; ++trial) {
        const auto M = static_cast<std::uint64_t>(draw.between(2, 3000));
        const auto any = [&] { return static_cast<std::uint64_t>(draw.between(0, static_cast<std::int64_t>(M) - 1)); };
        const auto sequence = [&] {
            std::uint64_t s = any();
            while (std::gcd(s, M) != 1) s = any();
            return WholeSequence{any(), s, any(), any()};
        };
        const WholeSequence a = sequence();
        const WholeSequence b = sequence();
        // Bounds below, between and above the two lengths.
        const TermBound bound =
            trial % 3 == 0 ? TermBound() : TermBound(draw.between(1, 2 * static_cast<std::int64_t>(M)));
        ResidueSet aAlone(M), bAlone(M), aInStep(M), bInStep(M);
        const WholeCycle first = WalkWholeCycle(a, M, bound, aAlone);
        const WholeCycle second = WalkWholeCycle(b, M, bound, bAlone);
        const auto both = WalkWholeCyclesInStep(a, b, M, bound, aInStep, bInStep);
        const auto same = [](const WholeCycle& x, const WholeCycle& y) {
            return x.end == y.end && x.length == y.length && x.tail == y.tail;
        };
        ASSERT_TRUE(same(both[0], first) && same(both[1], second)) << "M " << M << " trial " << trial;
        if (first.end == WholeCycle::End::Closed) {
            ASSERT_EQ(Common(aInStep, aInStep), Common(aAlone, aAlone));
        }
        if (second.end == WholeCycle::End::Closed) {
            ASSERT_EQ(Common(bInStep, bInStep), Common(bAlone, bAlone));
        }
    }
}

// The window's doubles are exact while every product and sum it forms stays
// within 2^53; one past that, the inputs must keep the window's arithmetic.
TEST(WindowArithmeticIsExactTest, HoldsExactlyUpToTheEdgeOfEachProduct)
{
    constexpr double kTwo52 = 4503599627370496.0;
    const auto exact = [](double r, double s, double first, double second, std::int64_t M) {
        return WindowArithmeticIsExact({.r = r, .s = s, .first = first, .second = second}, M);
    };
    // M = 2: every check's limit is 2^53 − 2.
    const double limit = 2 * kTwo52 - 2;
    EXPECT_TRUE(exact(0, 0, limit, 0, 2));
    EXPECT_FALSE(exact(0, 0, limit + 2, 0, 2));
    EXPECT_TRUE(exact(0, 0, 0, limit, 2));
    EXPECT_FALSE(exact(0, 0, 0, limit + 2, 2));
    // The first term formed, second·r + first·s.
    EXPECT_TRUE(exact(kTwo52 - 1, 0, 0, 2, 2));
    EXPECT_FALSE(exact(kTwo52, 0, 0, 2, 2));
    EXPECT_FALSE(exact(0, -kTwo52, 2, 0, 2));
    // A later term from reduced values, (M − 1)·r + second·s.
    EXPECT_TRUE(exact(0, kTwo52 - 1, 0, 2, 2));
    EXPECT_FALSE(exact(0, kTwo52, 0, 2, 2));
    // Every term from reduced values, (M − 1)·(r + s).
    const std::int64_t M = 2147483647;
    const auto most = static_cast<double>(((std::int64_t{1} << 53) - M) / (M - 1));
    EXPECT_TRUE(exact(most - 1, 1, 0, 0, M));
    EXPECT_FALSE(exact(most - 1, -2, 0, 0, M));
}

} // namespace
} // namespace fibmod
