// SPDX-License-Identifier: MIT
// The moduli the window and the engine work with, and a range of them.
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

// A range of moduli, both ends included.
struct ModulusRange {
    std::int64_t from = kModulusMin;
    std::int64_t to = kModulusMax;
};

} // namespace fibmod
