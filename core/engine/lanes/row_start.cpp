// SPDX-License-Identifier: MIT
// The first two rows of a lane walk, term by term, and the stride's multipliers.
#include "core/engine/lanes/row_start.h"

namespace fibmod::lanes {

RowStart StartRows(const LaneSequence& seq, std::int64_t limit)
{
    const std::uint64_t M = seq.M;
    RowStart start;
    start.M = seq.M;
    start.first = seq.first;
    start.second = seq.second;
    start.limit = limit;
    start.rows[0] = seq.first;
    start.rows[1] = seq.second;
    for (std::size_t n = 2; n < start.rows.size(); ++n)
        start.rows[n] =
            static_cast<std::uint32_t>((std::uint64_t{seq.r} * start.rows[n - 1] + std::uint64_t{seq.s} * start.rows[n - 2]) % M);
    // V_0 = 2, V_1 = r, and V_n follows the recurrence itself; the product
    // of the two roots is −s.
    std::uint64_t before = 2 % M;
    std::uint64_t v = seq.r;
    for (std::int64_t n = 1; n < kRowTerms; ++n) {
        const std::uint64_t next = (seq.r * v + seq.s * before) % M;
        before = v;
        v = next;
    }
    const std::uint64_t minusS = (M - seq.s) % M;
    std::uint64_t c = 1 % M;
    for (std::int64_t n = 0; n < kRowTerms; ++n) c = c * minusS % M;
    start.v = static_cast<std::uint32_t>(v);
    start.vq = ShoupQuotient(start.v, seq.M);
    start.c = static_cast<std::uint32_t>(c);
    start.cq = ShoupQuotient(start.c, seq.M);
    return start;
}

} // namespace fibmod::lanes
