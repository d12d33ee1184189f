// SPDX-License-Identifier: MIT
// The period engine with FLINT's numbers: the rings of residues and the
// arithmetic the shared period code runs on, and the calculator over them.
#include "core/engine/period/period.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>

#include <flint/fmpz_mod.h>
#include <flint/nmod.h>

#include "core/engine/period/flint_thread.h"
#include "core/engine/period/period_math.h"

namespace fibmod {

namespace {

// Residues modulo n < 2^64 in one word.
class WordRing {
public:
    using Element = std::uint64_t;

    explicit WordRing(std::uint64_t n) { nmod_init(&mod_, n); }

    // FLINT's inline reduction by a precomputed inverse; a, b < n.
    Element mul(Element a, Element b) const { return nmod_mul(a, b, mod_); }
    Element add(Element a, Element b) const { return nmod_add(a, b, mod_); }
    Element sub(Element a, Element b) const { return nmod_sub(a, b, mod_); }
    Element reduce(const BigInt& x) const { return fmpz_fdiv_ui(x.get(), mod_.n); }
    Element zero() const { return 0; }
    Element one() const { return 1; }

private:
    nmod_t mod_;
};

// Residues modulo any n >= 2, as FLINT integers.
class BigRing {
public:
    using Element = BigInt;

    explicit BigRing(const BigInt& n) { fmpz_mod_ctx_init(context_, n.get()); }
    BigRing(const BigRing&) = delete;
    BigRing& operator=(const BigRing&) = delete;
    ~BigRing() { fmpz_mod_ctx_clear(context_); }

    Element mul(const Element& a, const Element& b) const
    {
        Element product;
        fmpz_mod_mul(product.get(), a.get(), b.get(), context_);
        return product;
    }
    Element add(const Element& a, const Element& b) const
    {
        Element sum;
        fmpz_mod_add(sum.get(), a.get(), b.get(), context_);
        return sum;
    }
    Element sub(const Element& a, const Element& b) const
    {
        Element difference;
        fmpz_mod_sub(difference.get(), a.get(), b.get(), context_);
        return difference;
    }
    Element reduce(const BigInt& x) const
    {
        Element residue;
        fmpz_mod_set_fmpz(residue.get(), x.get(), context_);
        return residue;
    }
    Element zero() const { return BigInt(0); }
    Element one() const { return BigInt(1); }

private:
    fmpz_mod_ctx_t context_;
};

// FLINT's whole numbers for the shared period arithmetic: any modulus up
// to 2^127 − 1, residues in one word below 2^64.
struct FlintArith {
    using Integer = BigInt;
    using Prime = BigInt;
    using Inputs = WholeInputs;
    using Factors = Factorisation;
    using Period = fibmod::Period;

    static Integer One() { return BigInt(1); }
    static std::uint64_t Bits(const Integer& n) { return n.bits(); }
    static bool TestBit(const Integer& n, std::uint64_t bit) { return fmpz_tstbit(n.get(), bit) != 0; }
    static void MultiplyBy(Integer& x, const Integer& y) { fmpz_mul(x.get(), x.get(), y.get()); }
    static Integer Power(const Prime& p, unsigned e)
    {
        Integer power;
        fmpz_pow_ui(power.get(), p.get(), e);
        return power;
    }
    static void DivideExactly(Integer& x, const Integer& y) { fmpz_divexact(x.get(), x.get(), y.get()); }
    static void LcmInto(Integer& x, const Integer& y) { fmpz_lcm(x.get(), x.get(), y.get()); }
    static Factors Factor(const Prime& n) { return fibmod::Factor(n); }
    static Prime Below(const Prime& p)
    {
        Prime n = p;
        fmpz_sub_ui(n.get(), n.get(), 1);
        return n;
    }
    static Prime Above(const Prime& p)
    {
        Prime n = p;
        fmpz_add_ui(n.get(), n.get(), 1);
        return n;
    }
    static Prime Small(unsigned value) { return BigInt(value); }
    static Prime Residue(const BigInt& x, const Prime& p) { return fibmod::Residue(x, p); }
    static int DiscriminantKind(const Inputs& in, const Prime& p)
    {
        BigInt discriminant;
        fmpz_mul(discriminant.get(), in.r.get(), in.r.get());
        fmpz_addmul_ui(discriminant.get(), in.s.get(), 4);
        discriminant = fibmod::Residue(discriminant, p);
        if (discriminant.sign() == 0) return 0;
        return fmpz_jacobi(discriminant.get(), p.get());
    }
    template <class F>
    static void WithRing(const Prime& p, unsigned e, F&& f)
    {
        const BigInt q = Power(p, e);
        if (q.fitsUInt64())
            f(WordRing(q.toUInt64()));
        else
            f(BigRing(q));
    }
    static std::optional<std::uint64_t> CacheKey(const Prime& p, unsigned e, std::uint64_t limit)
    {
        if (!p.fitsUInt64() || p.toUInt64() >= limit) return std::nullopt;
        const BigInt q = Power(p, e);
        if (!q.fitsUInt64()) return std::nullopt;
        return q.toUInt64();
    }
};

} // namespace

PeriodRowText RowText(const ModulusPeriods& row)
{
    PeriodRowText text;
    text.modulus = row.modulus.toString();
    for (std::size_t i = 0; i < 2; ++i) {
        text.preperiod[i] = row.periods.at(i).preperiod.toString();
        text.length[i] = row.periods.at(i).length.toString();
    }
    text.factors.reserve(row.factors.size());
    for (const PrimePower& factor : row.factors) text.factors.push_back({factor.prime.toString(), factor.exponent});
    return text;
}

bool IsPeriodModulus(const BigInt& M) { return M >= BigInt(2) && M <= PeriodModulusMax(); }

Period PeriodOf(const WholeInputs& inputs, const BigInt& M)
{
    PeriodCalculator calculator({inputs}, 0);
    return std::move(calculator.compute(M).periods.front());
}

// The shared combination over FLINT's numbers.
class PeriodCalculator::Combiner : public period_math::PeriodCombiner<FlintArith> {
    using PeriodCombiner::PeriodCombiner;
};

PeriodCalculator::PeriodCalculator(std::vector<WholeInputs> sequences, std::uint64_t cachedPrimeLimit)
    : combiner_(std::make_unique<Combiner>(std::move(sequences), cachedPrimeLimit))
{
    // The inputs' copies already hold FLINT's numbers of this thread, even
    // when the calculator never computes (a run stopped at once).
    ReleaseFlintCachesAtThreadExit();
}

PeriodCalculator::~PeriodCalculator() = default;
PeriodCalculator::PeriodCalculator(PeriodCalculator&&) noexcept = default;
PeriodCalculator& PeriodCalculator::operator=(PeriodCalculator&&) noexcept = default;

const std::vector<WholeInputs>& PeriodCalculator::sequences() const { return combiner_->sequences(); }

std::size_t PeriodCalculator::cachedCount() const { return combiner_->cachedCount(); }

ModulusPeriods PeriodCalculator::compute(const BigInt& M)
{
    if (!IsPeriodModulus(M))
        throw std::invalid_argument(OutsidePeriodModuli(M.toString()));
    return compute(M, Factor(M));
}

ModulusPeriods PeriodCalculator::compute(const BigInt& M, Factorisation factors)
{
    ReleaseFlintCachesAtThreadExit();
    std::vector<Period> periods = combiner_->periods(factors);
    return {M, std::move(factors), std::move(periods)};
}

} // namespace fibmod
