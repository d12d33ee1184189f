// SPDX-License-Identifier: MIT
// The vector loop of a lane walk: linked into a program, or loaded from its module when first needed.
#pragma once

#include <cstdint>

#include "core/engine/lanes/lane_walk.h"
#include "core/engine/lanes/row_start.h"
#include "core/engine/stop_signal.h"

namespace fibmod::lanes {

// The loop, compiled for every vector target Highway builds.
struct LaneRowsEntry {
    // The rows after the first two of `start`, flagged in `table` (bytes or
    // bits), on the widest vectors this processor has.
    LaneWalk (*walkRows)(const RowStart& start, std::uint8_t* table, bool bytes, const StopToken& stop);
    // The name of that target ("AVX3", "AVX2", …).
    const char* (*targetName)();
};

// The loop in this library, with Highway's choice of target.
const LaneRowsEntry& LaneRowsHere();

// The loop the program runs. Defined twice, and a program links one: linked
// (LaneRowsHere) or on demand (the same from the module fibmod-lanes.so,
// loaded on the first walk, so that a program that never walks in lanes
// never loads Highway).
const LaneRowsEntry& LaneRows();

// The name of the module and of its entry, which returns &LaneRowsHere().
inline constexpr const char* kLaneRowsModule = "fibmod-lanes.so";
inline constexpr const char* kLaneRowsModuleEntry = "fibmod_lane_rows";

} // namespace fibmod::lanes
