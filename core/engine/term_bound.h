// SPDX-License-Identifier: MIT
// The most terms a cycle may have.
#pragma once

#include <cstdint>
#include <optional>

#include "core/engine/recurrence.h"

namespace fibmod {

// The most terms a cycle may have; a longer one is error 9, as in the
// window. No value means no bound: every cycle is walked to its end.
using TermBound = std::optional<std::int64_t>;

// The window's bound, the default everywhere.
inline constexpr TermBound kWindowTermBound = kMaxCycleTerms;
// The largest finite bound.
inline constexpr std::int64_t kTermBoundMax = std::int64_t{1} << 62;

} // namespace fibmod
