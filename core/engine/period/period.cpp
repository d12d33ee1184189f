// SPDX-License-Identifier: MIT
// Pre-period and period per prime power of M, as the order of a pair on the
// cycle under the step matrix, combined with max and lcm.
#include "core/engine/period/period.h"

#include <algorithm>
#include <map>
#include <optional>
#include <stdexcept>
#include <utility>

#include <flint/fmpz_mod.h>
#include <flint/nmod.h>

#include "core/engine/period/flint_thread.h"

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

// A pair (a(n), a(n+1)).
template <class Ring>
struct Pair {
    typename Ring::Element x;
    typename Ring::Element y;

    friend bool operator==(const Pair&, const Pair&) = default;
};

// A^n·w for the step matrix A = [[0, 1], [s, r]], n >= 0. With the
// sequence U(0) = 0, U(1) = 1 of the same recurrence,
// A^n = [[s·U(n−1), U(n)], [s·U(n), U(n+1)]] and s·U(n−1) = U(n+1) − r·U(n);
// (U(n), U(n+1)) by doubling from the top bit: U(2k) = U(k)·(2U(k+1) −
// r·U(k)), U(2k+1) = U(k+1)² + s·U(k)². Five products a bit where a matrix
// squaring takes eight.
template <class Ring>
Pair<Ring> StepPower(const Ring& ring, const typename Ring::Element& r, const typename Ring::Element& s,
                     const BigInt& n, const Pair<Ring>& w)
{
    using Element = typename Ring::Element;
    Element u = ring.zero();
    Element v = ring.one();
    for (std::uint64_t bit = n.bits(); bit-- > 0;) {
        Element doubledU = ring.mul(u, ring.sub(ring.add(v, v), ring.mul(r, u)));
        Element doubledV = ring.add(ring.mul(v, v), ring.mul(s, ring.mul(u, u)));
        if (fmpz_tstbit(n.get(), bit)) {
            // (U(2k+1), U(2k+2)) = (U(2k+1), r·U(2k+1) + s·U(2k)).
            Element next = ring.add(ring.mul(r, doubledV), ring.mul(s, doubledU));
            u = std::move(doubledV);
            v = std::move(next);
        } else {
            u = std::move(doubledU);
            v = std::move(doubledV);
        }
    }
    return {ring.add(ring.mul(w.x, ring.sub(v, ring.mul(r, u))), ring.mul(w.y, u)),
            ring.add(ring.mul(ring.mul(w.x, s), u), ring.mul(w.y, v))};
}

// A multiple of a period, factored: prime → exponent.
using FactorMap = std::map<BigInt, unsigned>;

void MultiplyInto(FactorMap& multiple, const Factorisation& factors)
{
    for (const PrimePower& factor : factors) multiple[factor.prime] += factor.exponent;
}

BigInt Product(const FactorMap& multiple)
{
    BigInt product(1);
    BigInt power;
    for (const auto& [prime, exponent] : multiple) {
        fmpz_pow_ui(power.get(), prime.get(), exponent);
        fmpz_mul(product.get(), product.get(), power.get());
    }
    return product;
}

// The smallest divisor T of the multiple L with A^T·w = w, given
// A^L·w = w: each prime q of L is stripped while the pair stays fixed.
template <class Ring>
BigInt Order(const Ring& ring, const typename Ring::Element& r, const typename Ring::Element& s,
             const Pair<Ring>& w, const FactorMap& multiple)
{
    BigInt order = Product(multiple);
    BigInt qf;
    for (const auto& [q, f] : multiple) {
        fmpz_pow_ui(qf.get(), q.get(), f);
        fmpz_divexact(order.get(), order.get(), qf.get());
        for (unsigned j = 0; !(StepPower(ring, r, s, order, w) == w); ++j) {
            if (j == f) throw std::logic_error("the multiple of the period does not fix the pair");
            fmpz_mul(order.get(), order.get(), q.get());
        }
    }
    return order;
}

// What one modulus's sequences share about one of its primes p: the
// factorisations of p − 1 and p + 1, each found once when first asked.
class PrimeFacts {
public:
    explicit PrimeFacts(const BigInt& p) : p_(p) {}

    const BigInt& prime() const { return p_; }
    const Factorisation& below() { return factorOnce(below_, -1); }
    const Factorisation& above() { return factorOnce(above_, 1); }

private:
    const Factorisation& factorOnce(std::optional<Factorisation>& slot, int offset)
    {
        if (!slot) {
            BigInt n = p_;
            if (offset < 0)
                fmpz_sub_ui(n.get(), n.get(), 1);
            else
                fmpz_add_ui(n.get(), n.get(), 1);
            slot = n == BigInt(1) ? Factorisation{} : Factor(n);
        }
        return *slot;
    }

    BigInt p_;
    std::optional<Factorisation> below_;
    std::optional<Factorisation> above_;
};

struct PrimePowerFigures {
    std::uint64_t preperiod;
    BigInt length;
};

// p^e·(p − 1)·(p + 1): a multiple of the period modulo p^e for every
// pair on a cycle, the exponent of the maps of pairs that return.
FactorMap GeneralMultiple(PrimeFacts& prime, unsigned e)
{
    FactorMap multiple;
    multiple[prime.prime()] = e;
    MultiplyInto(multiple, prime.below());
    MultiplyInto(multiple, prime.above());
    return multiple;
}

// A sharper multiple for odd p prime to s, from the roots of x² − r·x − s
// modulo p: with two distinct roots in F_p the order mod p divides p − 1;
// with a double root p·(p − 1); with conjugate roots in F_{p²}, whose
// product is −s, (p + 1)·ord(−s). Modulo p^e a further p^(e−1). None for
// p = 2 or p dividing s.
std::optional<FactorMap> SharpMultiple(PrimeFacts& prime, unsigned e, const WholeInputs& in)
{
    const BigInt& p = prime.prime();
    const BigInt s = Residue(in.s, p);
    if (p == BigInt(2) || s.sign() == 0) return std::nullopt;
    BigInt discriminant;
    fmpz_mul(discriminant.get(), in.r.get(), in.r.get());
    fmpz_addmul_ui(discriminant.get(), in.s.get(), 4);
    discriminant = Residue(discriminant, p);
    FactorMap multiple;
    if (e > 1) multiple[p] = e - 1;
    if (discriminant.sign() == 0) {
        multiple[p] += 1;
        MultiplyInto(multiple, prime.below());
    } else if (fmpz_jacobi(discriminant.get(), p.get()) == 1) {
        MultiplyInto(multiple, prime.below());
    } else {
        MultiplyInto(multiple, prime.above());
        BigInt minusS;
        fmpz_sub(minusS.get(), p.get(), s.get());
        BigInt pMinus1 = p;
        fmpz_sub_ui(pMinus1.get(), pMinus1.get(), 1);
        if (minusS == pMinus1)
            multiple[BigInt(2)] += 1;
        else if (minusS != BigInt(1))
            MultiplyInto(multiple, prime.below());
    }
    return multiple;
}

// Pre-period and period of one sequence modulo q = p^e, in the ring of
// residues modulo q.
template <class Ring>
PrimePowerFigures PrimePowerPeriod(const Ring& ring, PrimeFacts& prime, unsigned e, const WholeInputs& in)
{
    using Element = typename Ring::Element;
    const Element r = ring.reduce(in.r);
    const Element s = ring.reduce(in.s);
    // Where p divides s the map of pairs is not one-to-one and the first
    // pairs may lie off the cycle; after 2e steps every pair lies on it
    // (the part on which the step is nilpotent has length at most 2e).
    const bool singular = Residue(in.s, prime.prime()).sign() == 0;
    std::vector<Pair<Ring>> pairs{{ring.reduce(in.first), ring.reduce(in.second)}};
    if (singular) {
        for (unsigned k = 0; k < 2 * e; ++k) {
            const Pair<Ring>& v = pairs.back();
            pairs.push_back({v.y, ring.add(ring.mul(s, v.x), ring.mul(r, v.y))});
        }
    }
    const Pair<Ring>& onCycle = pairs.back();

    // The sharp multiple rests on theory; it is checked like the general
    // one, and should it not fix the pair the general one is tried.
    const auto fixes = [&](const FactorMap& multiple) {
        return StepPower(ring, r, s, Product(multiple), onCycle) == onCycle;
    };
    std::optional<BigInt> length;
    if (const std::optional<FactorMap> sharp = SharpMultiple(prime, e, in); sharp && fixes(*sharp))
        length = Order(ring, r, s, onCycle, *sharp);
    if (!length) {
        const FactorMap general = GeneralMultiple(prime, e);
        if (!fixes(general)) throw std::logic_error("p^e·(p − 1)·(p + 1) does not fix a pair on the cycle");
        length = Order(ring, r, s, onCycle, general);
    }

    std::uint64_t preperiod = 0;
    if (singular) {
        while (!(StepPower(ring, r, s, *length, pairs[preperiod]) == pairs[preperiod])) ++preperiod;
    }
    return {preperiod, std::move(*length)};
}

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

PeriodCalculator::PeriodCalculator(std::vector<WholeInputs> sequences, std::uint64_t cachedPrimeLimit)
    : sequences_(std::move(sequences)), cachedPrimeLimit_(cachedPrimeLimit)
{
}

ModulusPeriods PeriodCalculator::compute(const BigInt& M)
{
    if (!IsPeriodModulus(M))
        throw std::invalid_argument(OutsidePeriodModuli(M));
    return compute(M, Factor(M));
}

ModulusPeriods PeriodCalculator::compute(const BigInt& M, Factorisation factors)
{
    ReleaseFlintCachesAtThreadExit();
    ModulusPeriods result{M, std::move(factors), {}};
    result.periods.assign(sequences_.size(), Period{BigInt(0), BigInt(1)});
    BigInt q;
    for (const PrimePower& factor : result.factors) {
        fmpz_pow_ui(q.get(), factor.prime.get(), factor.exponent);
        const bool cached = factor.prime.fitsUInt64() && factor.prime.toUInt64() < cachedPrimeLimit_ &&
                            q.fitsUInt64();
        std::vector<PrimePowerResult>* figures = nullptr;
        std::vector<PrimePowerResult> computed;
        if (cached) {
            const auto found = cache_.find(q.toUInt64());
            if (found != cache_.end()) figures = &found->second;
        }
        if (figures == nullptr) {
            PrimeFacts prime(factor.prime);
            computed.reserve(sequences_.size());
            for (const WholeInputs& in : sequences_) {
                const PrimePowerFigures one =
                    q.fitsUInt64() ? PrimePowerPeriod(WordRing(q.toUInt64()), prime, factor.exponent, in)
                                   : PrimePowerPeriod(BigRing(q), prime, factor.exponent, in);
                computed.push_back({one.preperiod, one.length});
            }
            figures = &computed;
            if (cached) figures = &cache_.emplace(q.toUInt64(), std::move(computed)).first->second;
        }
        for (std::size_t i = 0; i < sequences_.size(); ++i) {
            Period& period = result.periods[i];
            const BigInt preperiod((*figures)[i].preperiod);
            if (preperiod > period.preperiod) period.preperiod = preperiod;
            fmpz_lcm(period.length.get(), period.length.get(), (*figures)[i].length.get());
        }
    }
    return result;
}

} // namespace fibmod
