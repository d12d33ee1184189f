// SPDX-License-Identifier: MIT
// The entry of the module fibmod-lanes.so: the lanes' vector loop.
#include "core/engine/lanes/lane_rows.h"

extern "C" __attribute__((visibility("default"))) const void* fibmod_lane_rows()
{
    return &fibmod::lanes::LaneRowsHere();
}
