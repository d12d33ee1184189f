// SPDX-License-Identifier: MIT
// What a modulus change, a scroll and the stepping button run, as the window's events chain them.
#pragma once

#include "core/window/field_access.h"
#include "core/window/run_state.h"

namespace fibmod {

// The modulus field's change procedure: the reset, then the show of both
// cycles for the new modulus.
void ModulusChanged(RunState& state, FieldAccess& fields);

// The scroll bar's change procedure: its value, in plain digits, becomes the
// modulus text (whose change then recomputes).
void ScrollChanged(FieldAccess& fields);

// "Nächster: Nur Rest 1 gemeinsam": steps the scroll bar up one modulus at a
// time, each step recomputing through the scroll bar's change chain, until
// the common count field holds the stepping's goal. At the top of the range
// it shows the limit message instead of a step. It stops without reading the
// count when a reset during a step left no count of that modulus. Run-time
// errors of a step pass through and end the stepping.
void StepToNextStop(RunState& state, FieldAccess& fields);

} // namespace fibmod
