// SPDX-License-Identifier: MIT
// Primes and factorisations of numbers below 2^64 without a library:
// Miller–Rabin and Pollard–Brent rho, for where FLINT is not at hand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fibmod {

// p^e with p < 2^64.
struct WordPrimePower {
    std::uint64_t prime;
    unsigned exponent = 1;

    friend bool operator==(const WordPrimePower&, const WordPrimePower&) = default;
};

// A number's prime powers, in ascending primes; empty for 1.
using WordFactorisation = std::vector<WordPrimePower>;

// True when n is prime: Miller–Rabin to the bases 2, 325, 9375, 28178,
// 450775, 9780504 and 1795265022, which no composite below 2^64 passes.
bool IsWordPrime(std::uint64_t n);

// The factorisation of n >= 1 (std::invalid_argument for 0): trial division
// by the primes below 1000, then Pollard–Brent rho on what is left, split
// until every part passes IsWordPrime.
WordFactorisation FactorWordPortably(std::uint64_t n);

} // namespace fibmod
