// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace fibmod {

// The moduli the window works with: the scroll bar's range, the stepping's
// limit and the default range of a scan. A typed modulus above the top is
// clamped to it.
inline constexpr int kModulusMin = 2;
inline constexpr int kModulusMax = 2000;

// The largest modulus the engine computes, outside the window.
inline constexpr std::int64_t kEngineModulusMax = 2147483647;

} // namespace fibmod
