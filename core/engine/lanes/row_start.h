// SPDX-License-Identifier: MIT
// The first two rows of a lane walk and the constants that stride K terms at once.
#pragma once

#include <array>
#include <cstdint>

#include "core/engine/lanes/lane_walk.h"

namespace fibmod::lanes {

// x·w mod M by Shoup's method: wq = ⌊w·2^32 / M⌋ turns the division into a
// multiply whose remainder is off by at most one M. Exact for x < 2^32,
// w < M and 2 <= M < 2^31 (then 2M fits in 32 bits).
inline std::uint32_t ShoupQuotient(std::uint32_t w, std::uint32_t M)
{
    return static_cast<std::uint32_t>((std::uint64_t{w} << 32) / M);
}
inline std::uint32_t MulModShoup(std::uint32_t x, std::uint32_t w, std::uint32_t wq, std::uint32_t M)
{
    const auto q = static_cast<std::uint32_t>((std::uint64_t{x} * wq) >> 32);
    const std::uint32_t rest = x * w - q * M;
    return rest >= M ? rest - M : rest;
}

// What the vector loop starts from: the first 2K terms, the multipliers of
// a(n + K) = v·a(n) − c·a(n − K) with their Shoup quotients, and the largest
// length the walk may report (the bound, or the largest int64 for none).
struct RowStart {
    std::uint32_t M = 2;
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    // V_K, the K-th term of the companion Lucas sequence, and (−s)^K, mod M.
    std::uint32_t v = 0;
    std::uint32_t vq = 0;
    std::uint32_t c = 0;
    std::uint32_t cq = 0;
    std::int64_t limit = 0;
    // a(0) … a(2K − 1).
    alignas(64) std::array<std::uint32_t, 2 * kRowTerms> rows{};
};

// The row start of `seq` with `limit` as above.
RowStart StartRows(const LaneSequence& seq, std::int64_t limit);

} // namespace fibmod::lanes
