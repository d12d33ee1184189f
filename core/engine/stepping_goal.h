// SPDX-License-Identifier: MIT
// Where "Nächster: Nur Rest 1 gemeinsam" stops.
#pragma once

namespace fibmod {

// True for the stepping's goal: exactly one residue common to both cycles.
// The window reads the count from its field, a scan row counts its residues.
constexpr bool IsSteppingGoal(double commonCount) { return commonCount == 1; }

} // namespace fibmod
