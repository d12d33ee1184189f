// SPDX-License-Identifier: MIT
#pragma once

namespace fibmod {

// The moduli the program works with: the scroll bar's range, the stepping's
// limit, the scan's and the command line's bounds. A typed modulus above the
// top is clamped to it.
inline constexpr int kModulusMin = 2;
inline constexpr int kModulusMax = 2000;

} // namespace fibmod
