// SPDX-License-Identifier: MIT
// One cycle walked as rows of independent lanes, the vector width chosen at run time.
#pragma once

#include <cstdint>
#include <optional>

#include "core/engine/cycle_end.h"
#include "core/engine/residue_set.h"
#include "core/engine/stop_signal.h"

namespace fibmod::lanes {

// Terms in one row of lanes: the row holds K consecutive terms, and lane i
// of row j + 1 follows from lanes i of rows j and j − 1 alone:
// a(n + K) = V_K·a(n) − (−s)^K·a(n − K).
inline constexpr std::int64_t kRowTerms = 64;

// A recurrence a(n+1) = r·a(n) + s·a(n−1) reduced modulo M: 2 <= M < 2^31,
// every other value in 0 … M − 1.
struct LaneSequence {
    std::uint32_t M = 2;
    std::uint32_t r = 0;
    std::uint32_t s = 0;
    std::uint32_t first = 0;
    std::uint32_t second = 0;

    friend bool operator==(const LaneSequence&, const LaneSequence&) = default;
};

// How a lane walk ended.
// Closed: the pair (a(length), a(length + 1)) is the start pair again.
// Never NeverRecurs: the lanes take only sequences whose start pair comes back.
struct LaneWalk {
    using End = CycleEnd;
    End end = End::Closed;
    std::int64_t length = 0;

    friend bool operator==(const LaneWalk&, const LaneWalk&) = default;
};

struct LaneTarget;

// True when the lanes walk this sequence: s prime to M, so that the step is
// a bijection of the pairs and the start pair always comes back.
bool LanesTake(const LaneSequence& seq);

// False where the build has no vector loop (WebAssembly without its SIMD,
// built without Highway): rows are then walked plainly, and WalkInLanes
// refuses. WebAssembly with SIMD (-msimd128) has Highway's WASM target.
#if defined(__EMSCRIPTEN__) && !defined(__wasm_simd128__)
inline constexpr bool kVectorLoopBuilt = false;
#else
inline constexpr bool kVectorLoopBuilt = true;
#endif

// Walks the cycle of `seq` (LanesTake must hold) and flags every term met in
// `flags` (reset here for seq.M). Ends as the plain walk that adds a(2),
// a(3), … one at a time until the pair is back at the start pair: Closed
// with that number of terms, or PastBound when it would take more than
// `bound` terms (none: no bound). The flags are the residues of the cycle
// when Closed, and of no use otherwise. Looks at `stop` every few hundred
// thousand terms. Runs on the widest vectors this processor has.
LaneWalk WalkInLanes(const LaneSequence& seq, std::optional<std::int64_t> bound, ResidueSet& flags,
                     StopToken stop = {});

// The same on `target`, one of LaneTargets() that runs here.
LaneWalk WalkInLanesOn(const LaneTarget& target, const LaneSequence& seq, std::optional<std::int64_t> bound,
                       ResidueSet& flags, StopToken stop = {});

// The name of the vector target WalkInLanes runs on here ("AVX3", "AVX2", …).
const char* LaneTargetName();

} // namespace fibmod::lanes
