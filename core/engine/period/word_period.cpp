// SPDX-License-Identifier: MIT
// The period engine over words: the arithmetic the shared period code runs
// on below 2^64, and the calculator over it.
#include "core/engine/period/word_period.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>

#include "core/engine/period/period_math.h"

namespace fibmod {

namespace {

// A ring of word residues that reduces the engine's whole numbers.
template <class Base>
class InputRing : public Base {
public:
    using Base::Base;
    typename Base::Element reduce(const WordWhole& x) const { return this->fromResidue(x.residue(this->modulus())); }
};

// The Jacobi symbol (a / n) for odd n >= 3 and a < n.
int Jacobi(std::uint64_t a, std::uint64_t n)
{
    int sign = 1;
    while (a != 0) {
        const int twos = __builtin_ctzll(a);
        a >>= twos;
        // (2 / n) = −1 for n ≡ 3, 5 mod 8.
        if ((twos & 1) != 0 && (n % 8 == 3 || n % 8 == 5)) sign = -sign;
        // Reciprocity: a sign change when both are 3 mod 4.
        if (a % 4 == 3 && n % 4 == 3) sign = -sign;
        std::swap(a, n);
        a %= n;
    }
    return n == 1 ? sign : 0;
}

WordUInt128 Gcd(WordUInt128 a, WordUInt128 b)
{
    while (b != 0) {
        a %= b;
        std::swap(a, b);
    }
    return a;
}

// Periods below 2^64 in words: moduli and primes in 64 bits, lengths and
// their multiples in 128 (a multiple passing 2^128 is an engine fault, since
// every multiple the code forms for M < 2^64 stays below it).
struct WordArith {
    using Integer = WordUInt128;
    using Prime = std::uint64_t;
    using Inputs = WordInputs;
    using Factors = WordFactorisation;
    using Period = WordPeriod;

    static Integer One() { return 1; }
    static std::uint64_t Bits(const Integer& n)
    {
        const auto high = static_cast<std::uint64_t>(n >> 64);
        const auto low = static_cast<std::uint64_t>(n);
        if (high != 0) return 128 - static_cast<std::uint64_t>(__builtin_clzll(high));
        return low == 0 ? 0 : 64 - static_cast<std::uint64_t>(__builtin_clzll(low));
    }
    static bool TestBit(const Integer& n, std::uint64_t bit) { return ((n >> bit) & 1) != 0; }
    static void MultiplyBy(Integer& x, const Integer& y)
    {
        if (__builtin_mul_overflow(x, y, &x)) throw std::logic_error("a multiple of the period passes 2^128");
    }
    static Integer Power(const Prime& p, unsigned e)
    {
        Integer power = 1;
        for (unsigned i = 0; i < e; ++i) MultiplyBy(power, p);
        return power;
    }
    static void DivideExactly(Integer& x, const Integer& y) { x /= y; }
    static void LcmInto(Integer& x, const Integer& y)
    {
        x /= Gcd(x, y);
        MultiplyBy(x, y);
    }
    static Factors Factor(const Prime& n) { return FactorWordPortably(n); }
    static Prime Below(const Prime& p) { return p - 1; }
    static Prime Above(const Prime& p) { return p + 1; }
    static Prime Small(unsigned value) { return value; }
    static Prime Residue(const WordWhole& x, const Prime& p) { return x.residue(p); }
    static int DiscriminantKind(const Inputs& in, const Prime& p)
    {
        const std::uint64_t r = in.r.residue(p);
        const std::uint64_t s = in.s.residue(p);
        const std::uint64_t discriminant =
            static_cast<std::uint64_t>((static_cast<WordUInt128>(r) * r + static_cast<WordUInt128>(s) * 4) % p);
        return Jacobi(discriminant, p);
    }
    template <class F>
    static void WithRing(const Prime& p, unsigned e, F&& f)
    {
        if (p == 2)
            f(InputRing<PowerOfTwoRing>(e));
        else
            f(InputRing<MontgomeryRing>(static_cast<std::uint64_t>(Power(p, e))));
    }
    static std::optional<std::uint64_t> CacheKey(const Prime& p, unsigned e, std::uint64_t limit)
    {
        if (p >= limit) return std::nullopt;
        return static_cast<std::uint64_t>(Power(p, e));
    }
};

} // namespace

WordWhole::WordWhole(std::int64_t value) : negative(value < 0)
{
    const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    if (magnitude != 0) limbs.push_back(magnitude);
}

WordWhole WordWhole::FromDecimal(std::string_view text)
{
    std::string_view digits = text;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw std::invalid_argument("not a whole number: \"" + std::string(text) + "\"");
    // Least significant limb first while reading: each digit multiplies by 10.
    std::vector<std::uint64_t> low;
    for (const char c : digits) {
        WordUInt128 carry = static_cast<std::uint64_t>(c - '0');
        for (std::uint64_t& limb : low) {
            carry += static_cast<WordUInt128>(limb) * 10;
            limb = static_cast<std::uint64_t>(carry);
            carry >>= 64;
        }
        if (carry != 0) low.push_back(static_cast<std::uint64_t>(carry));
    }
    WordWhole whole;
    whole.limbs.assign(low.rbegin(), low.rend());
    whole.negative = negative && !whole.limbs.empty();
    return whole;
}

std::uint64_t WordWhole::residue(std::uint64_t m) const
{
    std::uint64_t rest = 0;
    for (const std::uint64_t limb : limbs)
        rest = static_cast<std::uint64_t>(((static_cast<WordUInt128>(rest) << 64) | limb) % m);
    return negative && rest != 0 ? m - rest : rest;
}

// The shared combination over words.
class WordPeriodCalculator::Combiner : public period_math::PeriodCombiner<WordArith> {
    using PeriodCombiner::PeriodCombiner;
};

WordPeriodCalculator::WordPeriodCalculator(std::vector<WordInputs> sequences, std::uint64_t cachedPrimeLimit)
    : combiner_(std::make_unique<Combiner>(std::move(sequences), cachedPrimeLimit))
{
}

WordPeriodCalculator::~WordPeriodCalculator() = default;
WordPeriodCalculator::WordPeriodCalculator(WordPeriodCalculator&&) noexcept = default;
WordPeriodCalculator& WordPeriodCalculator::operator=(WordPeriodCalculator&&) noexcept = default;

WordModulusPeriods WordPeriodCalculator::compute(std::uint64_t M)
{
    if (M < 2) throw std::invalid_argument(std::to_string(M) + " is outside the range 2 to 18446744073709551615");
    WordFactorisation factors = FactorWordPortably(M);
    std::vector<WordPeriod> periods = combiner_->periods(factors);
    return {M, std::move(factors), std::move(periods)};
}

} // namespace fibmod
