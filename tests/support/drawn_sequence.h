// SPDX-License-Identifier: MIT
// Small random inputs for one sequence at a modulus, as the period tests draw them.
#pragma once

#include <cstdint>
#include <random>

namespace fibmod::test {

struct DrawnSequence {
    std::int64_t r, s, first, second;
};

// r, s and the start pair from −30 … 30; for an odd M, s is a multiple of
// M's smallest prime factor instead, so that every other modulus shares a
// factor with s.
inline DrawnSequence DrawSequenceFor(std::uint64_t M, std::mt19937_64& random)
{
    std::uniform_int_distribution<std::int64_t> small(-30, 30);
    DrawnSequence drawn{};
    drawn.r = small(random);
    drawn.first = small(random);
    drawn.second = small(random);
    drawn.s = small(random);
    if (M % 2 == 1) {
        std::uint64_t divisor = 2;
        while (M % divisor != 0) ++divisor;
        drawn.s = static_cast<std::int64_t>(divisor) * (small(random) % 4);
    }
    return drawn;
}

} // namespace fibmod::test
