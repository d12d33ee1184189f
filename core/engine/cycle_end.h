// SPDX-License-Identifier: MIT
// How a walk through one cycle ended, for every way of walking it.
#pragma once

namespace fibmod {

// How a walk through one cycle ended.
enum class CycleEnd {
    // Back at the start pair after `length` terms, the first time after
    // the start.
    Closed,
    // More terms than the bound allows: error 9.
    PastBound,
    // No bound, and the start pair never comes back (a walk that can tell).
    NeverRecurs,
    // Stopped on request before any of the above (a walk that can be stopped).
    Stopped,
};

} // namespace fibmod
