// SPDX-License-Identifier: MIT
// Tests of the portable period engine below 2^64 against the one with FLINT.
#include "core/engine/period/word_period.h"
#include "core/engine/period/word_period_rows.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <flint/ulong_extras.h>
#include <gtest/gtest.h>

#include "core/engine/period/period.h"

namespace fibmod {
namespace {

// The same sequences for both engines, from decimal text.
struct Sequence {
    std::string r, s, first, second;
};

WholeInputs Whole(const Sequence& q)
{
    return {BigInt::FromDecimal(q.r), BigInt::FromDecimal(q.s), BigInt::FromDecimal(q.first),
            BigInt::FromDecimal(q.second)};
}

WordInputs Word(const Sequence& q)
{
    return {WordWhole::FromDecimal(q.r), WordWhole::FromDecimal(q.s), WordWhole::FromDecimal(q.first),
            WordWhole::FromDecimal(q.second)};
}

// Every prime power as " p^e", to compare factorisations.
std::string PrimePowers(const Factorisation& factors)
{
    std::string text;
    for (const PrimePower& factor : factors) text += ' ' + factor.prime.toString() + '^' + std::to_string(factor.exponent);
    return text;
}

std::string PrimePowers(const WordFactorisation& factors)
{
    std::string text;
    for (const WordPrimePower& factor : factors)
        text += ' ' + std::to_string(factor.prime) + '^' + std::to_string(factor.exponent);
    return text;
}

// A row as the period command's CSV line, from either engine.
template <class Row>
std::string CsvLine(const Row& row)
{
    std::string line;
    AppendPeriodCsvLine(line, RowText(row));
    return line;
}

// Both engines over the same moduli, with and without their caches: the
// same CSV lines (two sequences).
void ExpectBothEnginesAgree(const std::vector<Sequence>& sequences, const std::vector<std::uint64_t>& moduli)
{
    std::vector<WholeInputs> whole;
    std::vector<WordInputs> word;
    for (const Sequence& q : sequences) {
        whole.push_back(Whole(q));
        word.push_back(Word(q));
    }
    PeriodCalculator flint(whole);
    WordPeriodCalculator cached(word);
    WordPeriodCalculator uncached(word, 0);
    for (const std::uint64_t M : moduli) {
        const std::string expected = CsvLine(flint.compute(BigInt(M)));
        ASSERT_EQ(CsvLine(cached.compute(M)), expected);
        ASSERT_EQ(CsvLine(uncached.compute(M)), expected);
    }
}

const std::vector<Sequence> kDesignTime{{"6", "-1", "1", "1"}, {"4", "-1", "1", "1"}};

std::vector<std::uint64_t> RandomPrimes(std::mt19937_64& random, unsigned bits, int count)
{
    std::vector<std::uint64_t> primes;
    while (static_cast<int>(primes.size()) < count) {
        const std::uint64_t candidate = (random() >> (64 - bits)) | (std::uint64_t{1} << (bits - 1)) | 1;
        if (n_is_prime(candidate)) primes.push_back(candidate);
    }
    return primes;
}

TEST(WordPeriodCalculator, AgreesWithTheFlintEngineOnRandomModuliOfEveryLength)
{
    std::mt19937_64 random(30);
    std::vector<std::uint64_t> moduli;
    for (int i = 0; i < 600; ++i) {
        const unsigned bits = 2 + static_cast<unsigned>(i % 63);
        moduli.push_back(std::max<std::uint64_t>(2, random() >> (64 - bits)));
    }
    ExpectBothEnginesAgree(kDesignTime, moduli);
}

TEST(WordPeriodCalculator, AgreesOnSquaresOfPrimesPowersOfTwoAndSmoothNumbers)
{
    std::mt19937_64 random(31);
    std::vector<std::uint64_t> moduli{18446744073709551615ULL, 18446744073709551557ULL /* the largest prime */,
                                      4294967291ULL * 4294967279ULL, 614889782588491410ULL /* 2·3·…·47 */,
                                      9223372036854775808ULL - 1, 3ULL * 3 * 3 * 5 * 5 * 7 * 7 * 11 * 13 * 13 * 17};
    for (unsigned k = 1; k < 64; ++k) moduli.push_back(std::uint64_t{1} << k);
    for (const std::uint64_t p : RandomPrimes(random, 32, 20)) moduli.push_back(p * p);
    for (const std::uint64_t p : RandomPrimes(random, 21, 10)) moduli.push_back(p * p * p);
    for (const std::uint64_t p : {3ULL, 5ULL, 7ULL, 1009ULL, 65537ULL}) {
        std::uint64_t power = p;
        while (power <= UINT64_MAX / p) power *= p;
        moduli.push_back(power);
    }
    for (int i = 0; i < 40; ++i) {
        // Products of many small primes, some repeated.
        std::uint64_t M = 1;
        for (;;) {
            const std::uint64_t p = std::vector<std::uint64_t>{2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37}[random() % 12];
            if (M > UINT64_MAX / p) break;
            M *= p;
        }
        moduli.push_back(M);
    }
    for (const std::uint64_t p : RandomPrimes(random, 62, 10)) moduli.push_back(p);
    for (const std::uint64_t p : RandomPrimes(random, 31, 10)) moduli.push_back(p * RandomPrimes(random, 33, 1)[0]);
    ExpectBothEnginesAgree(kDesignTime, moduli);
    ExpectBothEnginesAgree({{"1", "1", "0", "1"}, {"2", "3", "5", "-7"}}, moduli);
}

TEST(WordPeriodCalculator, AgreesWhereSOrRSharesAFactorWithTheModulus)
{
    std::mt19937_64 random(32);
    // Moduli made of the primes 2, 3, 5, 7, 11 and a large one; s and r
    // multiples of some of them, so that the start lies off the cycle.
    std::vector<std::uint64_t> moduli;
    const std::vector<std::uint64_t> large = RandomPrimes(random, 40, 30);
    for (int i = 0; i < 30; ++i) {
        const std::uint64_t small = std::vector<std::uint64_t>{8, 9, 25, 49, 121, 2 * 3 * 5 * 7 * 11, 1024}[i % 7];
        moduli.push_back(small * large[static_cast<std::size_t>(i)]);
        moduli.push_back(small);
    }
    ExpectBothEnginesAgree({{"6", "30", "1", "1"}, {"4", "-77", "3", "2"}}, moduli);
    ExpectBothEnginesAgree({{"10", "-210", "1", "0"}, {"0", "0", "5", "7"}}, moduli);
    const std::string p = std::to_string(large[3]);
    ExpectBothEnginesAgree({{"1", p, "1", "1"}, {p, "-" + p, "2", "3"}}, {large[3], large[3] * 8, large[3] * 9});
}

TEST(WordPeriodCalculator, ReducesInputsOfAnySizeAndSign)
{
    const std::vector<Sequence> huge{{"123456789012345678901234567890123456789", "-98765432109876543210987654321", "-1",
                                      "340282366920938463463374607431768211457"},
                                     {"-18446744073709551616", "+18446744073709551617", "0", "-0"}};
    ExpectBothEnginesAgree(huge, {2, 3, 10, 1000003, 18446744073709551615ULL, 4294967296ULL * 3});
}

TEST(WordPeriodCalculator, RefusesModuliBelow2)
{
    WordPeriodCalculator calculator({Word(kDesignTime[0])});
    EXPECT_THROW(calculator.compute(1), std::invalid_argument);
    EXPECT_THROW(calculator.compute(0), std::invalid_argument);
}

TEST(WordWhole, RefusesTextThatIsNotAWholeNumber)
{
    for (const char* text : {"", "-", "+", "1.5", " 1", "1e3", "--1"})
        EXPECT_THROW(WordWhole::FromDecimal(text), std::invalid_argument) << text;
}

TEST(FactorWordPortably, EqualsFlintOnHardAndRandomNumbers)
{
    std::mt19937_64 random(33);
    std::vector<std::uint64_t> numbers{1, 2, 3, 4, 997 * 997, 1009 * 1009, 999983ULL * 1000003ULL, 18446744073709551615ULL,
                                       // Strong pseudoprimes and Carmichael numbers.
                                       2047, 3215031751ULL, 3825123056546413051ULL,
                                       561, 41041, 825265, 4759123141ULL};
    for (const std::uint64_t p : RandomPrimes(random, 32, 10)) numbers.push_back(p * (p + 2 * (random() % 1000) + 2));
    for (int i = 0; i < 2000; ++i) numbers.push_back(random() >> (i % 64));
    for (const std::uint64_t n : numbers) {
        if (n == 0) continue;
        const Factorisation expected = Factor(BigInt(n));
        const WordFactorisation found = FactorWordPortably(n);
        ASSERT_EQ(PrimePowers(found), PrimePowers(expected)) << n;
    }
}

TEST(IsWordPrime, EqualsFlintOnPseudoprimesAndRandomOddNumbers)
{
    std::mt19937_64 random(34);
    std::vector<std::uint64_t> numbers{0, 1, 2, 3, 4, 2047, 1373653, 25326001, 3215031751ULL, 2152302898747ULL,
                                       3474749660383ULL, 341550071728321ULL, 3825123056546413051ULL,
                                       18446744073709551557ULL, 18446744073709551559ULL};
    for (int i = 0; i < 20000; ++i) numbers.push_back((random() >> (i % 60)) | 1);
    for (const std::uint64_t n : numbers) ASSERT_EQ(IsWordPrime(n), n_is_prime(n) != 0) << n;
}

} // namespace
} // namespace fibmod
