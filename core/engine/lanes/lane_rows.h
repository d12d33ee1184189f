// SPDX-License-Identifier: MIT
// The vector loop of a lane walk, compiled for each vector target, and the widest one this processor runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include "core/engine/stop_signal.h"

#include "core/engine/lanes/lane_walk.h"
#include "core/engine/lanes/row_start.h"

namespace fibmod::lanes {

// The loop as compiled for one vector target. Highway's headers alone build
// it for every target, each function with its target's instructions; the
// choice among them is the program's own, so no Highway library is linked
// or loaded.
struct LaneTarget {
    // Highway's name of the target ("AVX3", "AVX2", "SSE4", "SSSE3", "EMU128", "WASM", …).
    const char* name = "";
    // True when this processor has every instruction set the target uses.
    bool runsHere = false;
    // The rows after the first two of `start`, flagged in `table` (bytes or
    // bits as `bytes` says). Only for a target that runs here.
    LaneWalk (*walkRows)(const RowStart& start, std::uint8_t* table, bool bytes, const StopToken& stop) = nullptr;
    // out[i] = x[i]·w mod M for i < count by the loop's vector multiply
    // (Shoup's, as MulModShoup), count a multiple of kRowTerms. Only for a
    // target that runs here.
    void (*mulModShoup)(const std::uint32_t* x, std::size_t count, std::uint32_t w, std::uint32_t M,
                        std::uint32_t* out) = nullptr;
};

// Every target the loop is compiled for, widest first. The last is the
// build's own baseline, which runs wherever the program does. On x86-64
// that is a range of widths chosen at run time; where the build fixes the
// vectors (WebAssembly with simd128) it is that one target alone.
std::span<const LaneTarget> LaneTargets();

// The widest target that runs here: the one every lane walk takes.
const LaneTarget& WidestLaneTarget();

} // namespace fibmod::lanes
