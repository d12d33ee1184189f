// SPDX-License-Identifier: MIT
// Residues modulo a number below 2^64 in one word, with 128-bit products and
// no library: Montgomery's form for odd moduli, masks for powers of two.
#pragma once

#include <cstdint>

namespace fibmod {

// Products of two words in full, and periods below 2^128 (a GCC and Clang
// extension).
__extension__ typedef unsigned __int128 WordUInt128;

// a·b mod n by a 128-bit division; n > 0. For a few products per number.
inline std::uint64_t MulMod(std::uint64_t a, std::uint64_t b, std::uint64_t n)
{
    return static_cast<std::uint64_t>(static_cast<WordUInt128>(a) * b % n);
}

// The high word of the product a·b from four products of 32-bit halves.
inline std::uint64_t MulHighByHalves(std::uint64_t a, std::uint64_t b)
{
    const std::uint64_t aLow = a & 0xffffffffU, aHigh = a >> 32;
    const std::uint64_t bLow = b & 0xffffffffU, bHigh = b >> 32;
    const std::uint64_t lowLow = aLow * bLow, lowHigh = aLow * bHigh, highLow = aHigh * bLow;
    const std::uint64_t middle = (lowLow >> 32) + (lowHigh & 0xffffffffU) + (highLow & 0xffffffffU);
    return aHigh * bHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
}

// The high word of the product a·b. WebAssembly has no instruction for it
// (a 128-bit product there is a call that multiplies 128 by 128 bits), so
// there it comes from the halves.
inline std::uint64_t MulHigh(std::uint64_t a, std::uint64_t b)
{
#if defined(__wasm__)
    return MulHighByHalves(a, b);
#else
    return static_cast<std::uint64_t>((static_cast<WordUInt128>(a) * b) >> 64);
#endif
}

// Residues modulo an odd n >= 3 in Montgomery's form x·2^64 mod n: a product
// costs two word products and no division. Elements are words below n;
// equal residues have equal elements.
class MontgomeryRing {
public:
    using Element = std::uint64_t;

    explicit MontgomeryRing(std::uint64_t n) : n_(n)
    {
        // n·inverse ≡ 1 mod 2^64 by Newton's iteration: n is right to 3 bits,
        // and each step doubles them.
        std::uint64_t inverse = n;
        for (int i = 0; i < 5; ++i) inverse *= 2 - n * inverse;
        inverse_ = inverse;
        one_ = static_cast<std::uint64_t>((static_cast<WordUInt128>(1) << 64) % n);
        square_ = MulMod(one_, one_, n);
    }

    std::uint64_t modulus() const { return n_; }

    Element mul(Element a, Element b) const { return montgomeryReduce(a * b, MulHigh(a, b)); }
    Element add(Element a, Element b) const
    {
        const std::uint64_t sum = a + b;
        return sum >= n_ || sum < a ? sum - n_ : sum;
    }
    Element sub(Element a, Element b) const { return a >= b ? a - b : a - b + n_; }
    Element zero() const { return 0; }
    Element one() const { return one_; }
    // The element of the residue x < n, and back.
    Element fromResidue(std::uint64_t x) const { return mul(x, square_); }
    std::uint64_t toResidue(Element a) const { return montgomeryReduce(a, 0); }

private:
    // t·2^−64 mod n for t = high·2^64 + low < n·2^64: with
    // m = t·n^−1 mod 2^64, t − m·n is a multiple of 2^64 whose high word is
    // the result, less n when negative.
    Element montgomeryReduce(std::uint64_t low, std::uint64_t high) const
    {
        const std::uint64_t mnHigh = MulHigh(low * inverse_, n_);
        return high >= mnHigh ? high - mnHigh : high - mnHigh + n_;
    }

    std::uint64_t n_;
    std::uint64_t inverse_;
    std::uint64_t one_;
    std::uint64_t square_;
};

// Residues modulo 2^k, 1 <= k <= 63: every operation ends in a mask.
class PowerOfTwoRing {
public:
    using Element = std::uint64_t;

    explicit PowerOfTwoRing(unsigned k) : mask_((std::uint64_t{1} << k) - 1) {}

    std::uint64_t modulus() const { return mask_ + 1; }

    Element mul(Element a, Element b) const { return (a * b) & mask_; }
    Element add(Element a, Element b) const { return (a + b) & mask_; }
    Element sub(Element a, Element b) const { return (a - b) & mask_; }
    Element zero() const { return 0; }
    Element one() const { return 1; }
    Element fromResidue(std::uint64_t x) const { return x; }
    std::uint64_t toResidue(Element a) const { return a; }

private:
    std::uint64_t mask_;
};

} // namespace fibmod
