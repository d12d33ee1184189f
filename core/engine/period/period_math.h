// SPDX-License-Identifier: MIT
// The period of a sequence modulo a prime power and the combination of prime
// powers with max and lcm, written once for every number type.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

namespace fibmod::period_math {

// The templates below take an arithmetic `Arith`, a type with only static
// members (FLINT's numbers natively, 64 and 128-bit words where there is no
// FLINT):
//   Integer   lengths and multiples of lengths; Prime  primes and p ± 1;
//   Inputs    one sequence's r, s, first, second; Factors  a number's prime
//             powers (members prime, exponent), ascending;
//   Period    one sequence's figures (members preperiod, length).
//   Integer One(); std::uint64_t Bits(const Integer&);
//   bool TestBit(const Integer&, std::uint64_t bit);
//   void MultiplyBy(Integer&, const Integer&); Integer Power(const Prime&, unsigned);
//   void DivideExactly(Integer&, const Integer&); void LcmInto(Integer&, const Integer&);
//   Factors Factor(const Prime& n) for n >= 2; Prime Below(p), Above(p): p ∓ 1;
//   Prime Small(unsigned); Prime Residue(value of Inputs, p) in 0 … p − 1;
//   int DiscriminantKind(in, p): the Jacobi symbol of r² + 4s modulo the odd
//   prime p; void WithRing(p, e, f): f(ring) in a ring modulo p^e;
//   std::optional<std::uint64_t> CacheKey(p, e, limit): a key for p^e's
//   figures when p lies below the limit, none when they are not kept.
// A ring has Element, mul, add, sub, zero, one and reduce(value of Inputs).

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
template <class Arith, class Ring>
Pair<Ring> StepPower(const Ring& ring, const typename Ring::Element& r, const typename Ring::Element& s,
                     const typename Arith::Integer& n, const Pair<Ring>& w)
{
    using Element = typename Ring::Element;
    Element u = ring.zero();
    Element v = ring.one();
    for (std::uint64_t bit = Arith::Bits(n); bit-- > 0;) {
        Element doubledU = ring.mul(u, ring.sub(ring.add(v, v), ring.mul(r, u)));
        Element doubledV = ring.add(ring.mul(v, v), ring.mul(s, ring.mul(u, u)));
        if (Arith::TestBit(n, bit)) {
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
template <class Arith>
using FactorMap = std::map<typename Arith::Prime, unsigned>;

template <class Arith>
void MultiplyInto(FactorMap<Arith>& multiple, const typename Arith::Factors& factors)
{
    for (const auto& factor : factors) multiple[factor.prime] += factor.exponent;
}

template <class Arith>
typename Arith::Integer Product(const FactorMap<Arith>& multiple)
{
    typename Arith::Integer product = Arith::One();
    for (const auto& [prime, exponent] : multiple) Arith::MultiplyBy(product, Arith::Power(prime, exponent));
    return product;
}

// The smallest divisor T of the multiple L with A^T·w = w, given
// A^L·w = w: each prime q of L is stripped while the pair stays fixed.
template <class Arith, class Ring>
typename Arith::Integer Order(const Ring& ring, const typename Ring::Element& r, const typename Ring::Element& s,
                              const Pair<Ring>& w, const FactorMap<Arith>& multiple)
{
    typename Arith::Integer order = Product<Arith>(multiple);
    for (const auto& [q, f] : multiple) {
        Arith::DivideExactly(order, Arith::Power(q, f));
        const typename Arith::Integer qOnce = Arith::Power(q, 1);
        for (unsigned j = 0; !(StepPower<Arith>(ring, r, s, order, w) == w); ++j) {
            if (j == f) throw std::logic_error("the multiple of the period does not fix the pair");
            Arith::MultiplyBy(order, qOnce);
        }
    }
    return order;
}

// What one modulus's sequences share about one of its primes p: the
// factorisations of p − 1 and p + 1, each found once when first asked.
template <class Arith>
class PrimeFacts {
public:
    using Prime = typename Arith::Prime;
    using Factors = typename Arith::Factors;

    explicit PrimeFacts(const Prime& p) : p_(p) {}

    const Prime& prime() const { return p_; }
    const Factors& below() { return factorOnce(below_, Arith::Below(p_)); }
    const Factors& above() { return factorOnce(above_, Arith::Above(p_)); }

private:
    const Factors& factorOnce(std::optional<Factors>& slot, const Prime& n)
    {
        if (!slot) slot = n == Arith::Small(1) ? Factors{} : Arith::Factor(n);
        return *slot;
    }

    Prime p_;
    std::optional<Factors> below_;
    std::optional<Factors> above_;
};

// Pre-period and period of one sequence modulo a prime power.
template <class Arith>
struct PrimePowerFigures {
    std::uint64_t preperiod;
    typename Arith::Integer length;
};

// p^e·(p − 1)·(p + 1): a multiple of the period modulo p^e for every
// pair on a cycle, the exponent of the maps of pairs that return.
template <class Arith>
FactorMap<Arith> GeneralMultiple(PrimeFacts<Arith>& prime, unsigned e)
{
    FactorMap<Arith> multiple;
    multiple[prime.prime()] = e;
    MultiplyInto<Arith>(multiple, prime.below());
    MultiplyInto<Arith>(multiple, prime.above());
    return multiple;
}

// A sharper multiple for odd p, from the roots of x² − r·x − s modulo p.
// Prime to s: with two distinct roots in F_p the order mod p divides p − 1;
// with a double root p·(p − 1); with conjugate roots in F_{p²}, whose
// product is −s, (p + 1)·ord(−s). Modulo p^e a further p^(e−1). Where p
// divides s but not r the roots are r and 0 modulo p, distinct, so lifted
// to the p-adic numbers; past the first 2e pairs only the unit root's part
// is left, whose order divides p^(e−1)·(p − 1). Where p divides both the
// step is nilpotent modulo p and every pair ends at (0, 0): 1. None for
// p = 2.
template <class Arith>
std::optional<FactorMap<Arith>> SharpMultiple(PrimeFacts<Arith>& prime, unsigned e,
                                              const typename Arith::Inputs& in)
{
    const typename Arith::Prime& p = prime.prime();
    if (p == Arith::Small(2)) return std::nullopt;
    const typename Arith::Prime s = Arith::Residue(in.s, p);
    const typename Arith::Prime zero = Arith::Small(0);
    FactorMap<Arith> multiple;
    if (s == zero) {
        if (Arith::Residue(in.r, p) == zero) return multiple;
        if (e > 1) multiple[p] = e - 1;
        MultiplyInto<Arith>(multiple, prime.below());
        return multiple;
    }
    if (e > 1) multiple[p] = e - 1;
    const int kind = Arith::DiscriminantKind(in, p);
    if (kind == 0) {
        multiple[p] += 1;
        MultiplyInto<Arith>(multiple, prime.below());
    } else if (kind == 1) {
        MultiplyInto<Arith>(multiple, prime.below());
    } else {
        MultiplyInto<Arith>(multiple, prime.above());
        // −s = −1 has order 2; −s = 1 order 1; else its order divides p − 1.
        if (s == Arith::Small(1))
            multiple[Arith::Small(2)] += 1;
        else if (s != Arith::Below(p))
            MultiplyInto<Arith>(multiple, prime.below());
    }
    return multiple;
}

// Pre-period and period of one sequence modulo q = p^e, in the ring of
// residues modulo q.
template <class Arith, class Ring>
PrimePowerFigures<Arith> PrimePowerPeriod(const Ring& ring, PrimeFacts<Arith>& prime, unsigned e,
                                          const typename Arith::Inputs& in)
{
    using Element = typename Ring::Element;
    using Integer = typename Arith::Integer;
    const Element r = ring.reduce(in.r);
    const Element s = ring.reduce(in.s);
    // Where p divides s the map of pairs is not one-to-one and the first
    // pairs may lie off the cycle; after 2e steps every pair lies on it
    // (the part on which the step is nilpotent has length at most 2e).
    const bool singular = Arith::Residue(in.s, prime.prime()) == Arith::Small(0);
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
    const auto fixes = [&](const FactorMap<Arith>& multiple) {
        return StepPower<Arith>(ring, r, s, Product<Arith>(multiple), onCycle) == onCycle;
    };
    std::optional<Integer> length;
    if (const std::optional<FactorMap<Arith>> sharp = SharpMultiple<Arith>(prime, e, in); sharp && fixes(*sharp))
        length = Order<Arith>(ring, r, s, onCycle, *sharp);
    if (!length) {
        const FactorMap<Arith> general = GeneralMultiple<Arith>(prime, e);
        if (!fixes(general)) throw std::logic_error("p^e·(p − 1)·(p + 1) does not fix a pair on the cycle");
        length = Order<Arith>(ring, r, s, onCycle, general);
    }

    std::uint64_t preperiod = 0;
    if (singular) {
        while (!(StepPower<Arith>(ring, r, s, *length, pairs[preperiod]) == pairs[preperiod])) ++preperiod;
    }
    return {preperiod, std::move(*length)};
}

// The periods of several sequences modulo one M from M's prime powers: per
// prime power the pre-period and period of each sequence, combined over the
// prime powers with max and lcm. Small prime powers' results are kept in
// `cache` (keyed by Arith::CacheKey), since consecutive moduli share them.
template <class Arith>
class PeriodCombiner {
public:
    using Period = typename Arith::Period;
    using Inputs = typename Arith::Inputs;

    PeriodCombiner(std::vector<Inputs> sequences, std::uint64_t cachedPrimeLimit)
        : sequences_(std::move(sequences)), cachedPrimeLimit_(cachedPrimeLimit)
    {
    }

    const std::vector<Inputs>& sequences() const { return sequences_; }
    // How many prime powers are kept.
    std::size_t cachedCount() const { return cache_.size(); }

    // One period per sequence for the modulus with these prime powers.
    std::vector<Period> periods(const typename Arith::Factors& factors)
    {
        std::vector<Period> result(sequences_.size(), Period{0u, Arith::One()});
        for (const auto& factor : factors) {
            const std::optional<std::uint64_t> key = Arith::CacheKey(factor.prime, factor.exponent, cachedPrimeLimit_);
            std::vector<PrimePowerFigures<Arith>>* figures = nullptr;
            std::vector<PrimePowerFigures<Arith>> computed;
            if (key) {
                const auto found = cache_.find(*key);
                if (found != cache_.end()) figures = &found->second;
            }
            if (figures == nullptr) {
                PrimeFacts<Arith> prime(factor.prime);
                computed.reserve(sequences_.size());
                Arith::WithRing(factor.prime, factor.exponent, [&](const auto& ring) {
                    for (const Inputs& in : sequences_)
                        computed.push_back(PrimePowerPeriod<Arith>(ring, prime, factor.exponent, in));
                });
                figures = &computed;
                if (key) figures = &cache_.emplace(*key, std::move(computed)).first->second;
            }
            for (std::size_t i = 0; i < sequences_.size(); ++i) {
                Period& period = result[i];
                const decltype(period.preperiod) preperiod((*figures)[i].preperiod);
                if (preperiod > period.preperiod) period.preperiod = preperiod;
                Arith::LcmInto(period.length, (*figures)[i].length);
            }
        }
        return result;
    }

private:
    std::vector<Inputs> sequences_;
    std::uint64_t cachedPrimeLimit_;
    // One result per sequence, by prime power.
    std::unordered_map<std::uint64_t, std::vector<PrimePowerFigures<Arith>>> cache_;
};

} // namespace fibmod::period_math
