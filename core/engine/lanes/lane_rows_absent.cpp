// SPDX-License-Identifier: MIT
// The lanes' vector loop where the build has none (WebAssembly): a walk in lanes is refused.
#include <stdexcept>

#include "core/engine/lanes/lane_rows.h"

namespace fibmod::lanes {

namespace {

LaneWalk Refused(const RowStart&, std::uint8_t*, bool, const StopToken&)
{
    throw std::logic_error("this build has no vector walk");
}

const LaneTarget kNone{"none", false, &Refused, nullptr};

} // namespace

std::span<const LaneTarget> LaneTargets() { return {&kNone, 1}; }

const LaneTarget& WidestLaneTarget() { return kNone; }

} // namespace fibmod::lanes
