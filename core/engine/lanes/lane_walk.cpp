// SPDX-License-Identifier: MIT
// A lane walk: the first two rows in plain integers, the rest in vectors.
#include "core/engine/lanes/lane_walk.h"

#include <limits>
#include <numeric>
#include <utility>

#include "core/engine/lanes/lane_rows.h"
#include "core/engine/lanes/row_start.h"

namespace fibmod::lanes {

bool LanesTake(const LaneSequence& seq) { return std::gcd(seq.s, seq.M) == 1; }

LaneWalk WalkInLanes(const LaneSequence& seq, std::optional<std::int64_t> bound, ResidueSet& flags,
                     StopToken stop)
{
    return WalkInLanesOn(WidestLaneTarget(), seq, bound, flags, std::move(stop));
}

LaneWalk WalkInLanesOn(const LaneTarget& target, const LaneSequence& seq, std::optional<std::int64_t> bound,
                       ResidueSet& flags, StopToken stop)
{
    const RowStart start = StartRows(seq, bound.value_or(std::numeric_limits<std::int64_t>::max()));
    flags.reset(seq.M);
    // A cycle inside the first two rows needs no vectors.
    for (std::int64_t p = 1; p + 1 < 2 * kRowTerms; ++p) {
        if (start.rows[static_cast<std::size_t>(p)] != seq.first || start.rows[static_cast<std::size_t>(p + 1)] != seq.second)
            continue;
        if (p > start.limit) return {LaneWalk::End::PastBound, 0};
        for (std::int64_t n = 0; n < p; ++n) flags.add(start.rows[static_cast<std::size_t>(n)]);
        return {LaneWalk::End::Closed, p};
    }
    if (2 * kRowTerms - 2 >= start.limit) return {LaneWalk::End::PastBound, 0};
    std::uint8_t* table = flags.flagTable();
    return target.walkRows(start, table, flags.bytes(), stop);
}

const char* LaneTargetName() { return WidestLaneTarget().name; }

} // namespace fibmod::lanes
