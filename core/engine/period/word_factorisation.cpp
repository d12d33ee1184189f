// SPDX-License-Identifier: MIT
// Miller–Rabin and Pollard–Brent rho below 2^64 in Montgomery's form.
#include "core/engine/period/word_factorisation.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <stdexcept>

#include "core/engine/period/word_modular.h"

namespace fibmod {

namespace {

// The primes below 1000, for trial division: 168 of them.
constexpr std::array<std::uint16_t, 168> kSmallPrimes = [] {
    std::array<std::uint16_t, 168> primes{};
    std::size_t count = 0;
    for (std::uint16_t n = 2; count < primes.size(); ++n) {
        bool prime = true;
        for (std::size_t i = 0; i < count && primes[i] * primes[i] <= n; ++i)
            if (n % primes[i] == 0) prime = false;
        if (prime) primes[count++] = n;
    }
    return primes;
}();
constexpr std::uint64_t kTrialLimit = 1000;

// a^e in the ring.
std::uint64_t Power(const MontgomeryRing& ring, std::uint64_t a, std::uint64_t e)
{
    std::uint64_t result = ring.one();
    for (; e != 0; e >>= 1) {
        if (e & 1) result = ring.mul(result, a);
        a = ring.mul(a, a);
    }
    return result;
}

// A part of n found by Brent's cycle search on x ↦ x² + c, with the
// differences multiplied in batches before one gcd; 1 or n when this c fails.
std::uint64_t RhoDivisor(const MontgomeryRing& ring, std::uint64_t c)
{
    const std::uint64_t n = ring.modulus();
    constexpr std::uint64_t kBatch = 128;
    const auto step = [&](std::uint64_t x) { return ring.add(ring.mul(x, x), c); };
    std::uint64_t y = ring.fromResidue(2);
    std::uint64_t x = y;
    std::uint64_t saved = y;
    std::uint64_t product = ring.one();
    std::uint64_t divisor = 1;
    for (std::uint64_t length = 1; divisor == 1; length *= 2) {
        x = y;
        for (std::uint64_t i = 0; i < length; ++i) y = step(y);
        for (std::uint64_t done = 0; done < length && divisor == 1; done += kBatch) {
            saved = y;
            const std::uint64_t batch = std::min(kBatch, length - done);
            for (std::uint64_t i = 0; i < batch; ++i) {
                y = step(y);
                product = ring.mul(product, ring.sub(x, y));
            }
            divisor = std::gcd(ring.toResidue(product), n);
        }
    }
    if (divisor == n) {
        // The batch overshot: walk it again one difference at a time.
        y = saved;
        do {
            y = step(y);
            divisor = std::gcd(ring.toResidue(ring.sub(x, y)), n);
        } while (divisor == 1);
    }
    return divisor;
}

// Appends the primes of an odd composite n with no prime below 1000.
void SplitInto(std::uint64_t n, std::vector<std::uint64_t>& primes)
{
    if (IsWordPrime(n)) {
        primes.push_back(n);
        return;
    }
    const MontgomeryRing ring(n);
    std::uint64_t divisor = n;
    for (std::uint64_t c = 1; divisor == n || divisor == 1; ++c) divisor = RhoDivisor(ring, ring.fromResidue(c));
    SplitInto(divisor, primes);
    SplitInto(n / divisor, primes);
}

} // namespace

bool IsWordPrime(std::uint64_t n)
{
    if (n < 2) return false;
    for (const std::uint64_t p : kSmallPrimes) {
        if (n % p == 0) return n == p;
        if (p * p > n) return true;
    }
    const MontgomeryRing ring(n);
    std::uint64_t d = n - 1;
    const int twos = __builtin_ctzll(d);
    d >>= twos;
    const std::uint64_t one = ring.one();
    const std::uint64_t minusOne = ring.sub(ring.zero(), one);
    for (const std::uint64_t base : {2ULL, 325ULL, 9375ULL, 28178ULL, 450775ULL, 9780504ULL, 1795265022ULL}) {
        const std::uint64_t a = base % n;
        if (a == 0) continue;
        std::uint64_t x = Power(ring, ring.fromResidue(a), d);
        if (x == one || x == minusOne) continue;
        bool witness = true;
        for (int i = 1; i < twos && witness; ++i) {
            x = ring.mul(x, x);
            if (x == minusOne) witness = false;
        }
        if (witness) return false;
    }
    return true;
}

WordFactorisation FactorWordPortably(std::uint64_t n)
{
    if (n == 0) throw std::invalid_argument("only numbers from 1 on are factored: 0");
    std::vector<std::uint64_t> primes;
    for (const std::uint64_t p : kSmallPrimes) {
        if (p * p > n) break;
        while (n % p == 0) {
            primes.push_back(p);
            n /= p;
        }
    }
    if (n != 1) {
        if (n < kTrialLimit * kTrialLimit)
            primes.push_back(n);
        else
            SplitInto(n, primes);
    }
    std::sort(primes.begin(), primes.end());
    WordFactorisation factors;
    for (const std::uint64_t p : primes) {
        if (!factors.empty() && factors.back().prime == p)
            ++factors.back().exponent;
        else
            factors.push_back({p, 1});
    }
    return factors;
}

} // namespace fibmod
