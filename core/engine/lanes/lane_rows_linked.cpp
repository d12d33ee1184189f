// SPDX-License-Identifier: MIT
// The lanes' vector loop linked into the program.
#include "core/engine/lanes/lane_rows.h"

namespace fibmod::lanes {

const LaneRowsEntry& LaneRows() { return LaneRowsHere(); }

} // namespace fibmod::lanes
