// SPDX-License-Identifier: MIT
// The factorisation of a whole number into primes, by FLINT.
#pragma once

#include <string>
#include <vector>

#include "core/engine/period/big_integer.h"

namespace fibmod {

// p^e.
struct PrimePower {
    BigInt prime;
    unsigned exponent = 1;

    friend bool operator==(const PrimePower&, const PrimePower&) = default;
};

// A number's prime powers, in ascending primes; empty for 1.
using Factorisation = std::vector<PrimePower>;

// The factorisation of n >= 1 (std::invalid_argument below 1). Below 2^64
// FLINT's n_factor, above it fmpz_factor. FLINT 2.9's quadratic sieve, which
// fmpz_factor uses for a large cofactor without small factors, keeps its
// relations in a file of a fixed name in the working directory; so above
// 2^64 the factoring runs on a helper thread of its own working directory
// (a fresh private directory under $TMPDIR or /tmp), one factoring at a
// time. It therefore works from a read-only working directory and from any
// number of threads at once. A directory must have room for the sieve's file
// (1 MiB, checked before the sieve starts); where no such directory can be
// had, FLINT's factoring without the sieve (fmpz_factor_smooth up to the
// square root) serves, more slowly; std::runtime_error should even that not finish.
// The directory is removed when the factoring ends, and by std::quick_exit
// while it runs. Thread-safe.
Factorisation Factor(const BigInt& n);

// The product of the prime powers.
BigInt Expand(const Factorisation& factors);

// The factorisation as text: ascending primes, "p^e" where e > 1, joined by
// single blanks, e.g. "2^3 3 5^2"; "1" for no factors.
std::string FactorisationText(const Factorisation& factors);

} // namespace fibmod
