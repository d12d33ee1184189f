// SPDX-License-Identifier: MIT
// The window's procedures: the cycles, the common members and the stepping, on any field access.
#pragma once

#include "core/window/field_access.h"
#include "core/window/run_state.h"

namespace fibmod {

// The message shown when a modulus above the limit is clamped to it.
inline constexpr std::string_view kModulusLimitMessage = "Begrenzung: Modul m < 2000";

// Clears the three listings, takes the nine inputs over, clamps the modulus
// to 2000 and sets the counters and residue flags back. The result fields
// keep their texts.
void ResetAndTakeOver(RunState& state, FieldAccess& fields);

// Generates both cycles into their listings and lengths, then the common
// members and their summary. Does nothing for M < 2. Returns early, writing
// nothing more, when a reset runs while it is handed over to the event loop.
void ShowCycles(RunState& state, FieldAccess& fields);

// True when the common count field was written by a run after the latest
// reset, so that reading it back gives that run's count.
bool CountIsCurrent(const RunState& state);

} // namespace fibmod
