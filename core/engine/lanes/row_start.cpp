// SPDX-License-Identifier: MIT
// The first two rows of a lane walk, term by term, and the stride's multipliers.
#include "core/engine/lanes/row_start.h"

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
    // V_0 = 2, V_1 = r, and V_n follows the recurrence itself; the product
    // of the two roots is −s.
    std::uint32_t before = 2 % M;
    std::uint32_t v = seq.r;
    for (std::int64_t n = 1; n < kRowTerms; ++n) {
        const std::uint32_t next = step(v, before);
        before = v;
        v = next;
    }
    const std::uint32_t minusS = seq.s == 0 ? 0 : M - seq.s;
    const std::uint32_t minusSq = ShoupQuotient(minusS, M);
    std::uint32_t c = 1 % M;
    for (std::int64_t n = 0; n < kRowTerms; ++n) c = MulModShoup(c, minusS, minusSq, M);
    start.v = v;
    start.vq = ShoupQuotient(v, M);
    start.c = c;
    start.cq = ShoupQuotient(c, M);
    return start;
}

} // namespace fibmod::lanes
