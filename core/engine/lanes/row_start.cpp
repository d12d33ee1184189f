// SPDX-License-Identifier: MIT
// The first two rows of a lane walk, term by term, and the stride's multipliers.
#include "core/engine/lanes/row_start.h"

#include <bit>

namespace fibmod::lanes {

RowStart StartRows(const LaneSequence& seq, std::int64_t limit)
{
    const std::uint32_t M = seq.M;
    RowStart start;
    start.M = M;
    start.first = seq.first;
    start.second = seq.second;
    start.limit = limit;
    const std::uint32_t rq = ShoupQuotient(seq.r, M);
    const std::uint32_t sq = ShoupQuotient(seq.s, M);
    // r·x + s·y mod M for x, y below M.
    const auto step = [&](std::uint32_t x, std::uint32_t y) {
        const std::uint32_t sum = MulModShoup(x, seq.r, rq, M) + MulModShoup(y, seq.s, sq, M);
        return sum >= M ? sum - M : sum;
    };
    start.rows[0] = seq.first;
    start.rows[1] = seq.second;
    for (std::size_t n = 2; n < start.rows.size(); ++n) start.rows[n] = step(start.rows[n - 1], start.rows[n - 2]);
    // V_K and (−s)^K by doubling, K being a power of two: V_1 = r, and
    // V_2j = V_j² − 2·(−s)^j, for the roots' product is −s.
    static_assert(std::has_single_bit(static_cast<std::uint64_t>(kRowTerms)));
    const std::uint64_t m = M;
    std::uint64_t v = seq.r;
    std::uint64_t c = seq.s == 0 ? 0 : m - seq.s;
    for (std::int64_t j = 1; j < kRowTerms; j *= 2) {
        v = (v * v + 2 * (m - c)) % m;
        c = c * c % m;
    }
    start.v = static_cast<std::uint32_t>(v);
    start.vq = ShoupQuotient(start.v, M);
    start.c = static_cast<std::uint32_t>(c);
    start.cq = ShoupQuotient(start.c, M);
    return start;
}

} // namespace fibmod::lanes
