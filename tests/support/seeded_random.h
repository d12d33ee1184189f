// SPDX-License-Identifier: MIT
// Random draws that a seed replays alike with every standard library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <random>

namespace fibmod::testing {

// The standard fixes std::mt19937_64's output for a seed, but not what its
// distributions make of it. This maps the engine's output to a range with
// its own arithmetic, so that a printed seed gives the same cases anywhere.
class SeededRandom {
public:
    explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}

    // A number in 0 … n − 1 (n > 0), each as likely as any other: draws at
    // the top of the engine's range, where the last remainders would be
    // short, are drawn again.
    std::uint64_t below(std::uint64_t n)
    {
        constexpr std::uint64_t kTop = std::numeric_limits<std::uint64_t>::max();
        const std::uint64_t limit = kTop - kTop % n;
        for (;;) {
            const std::uint64_t x = engine_();
            if (x < limit) return x % n;
        }
    }

    // An index into a container of n elements.
    std::size_t index(std::size_t n) { return static_cast<std::size_t>(below(n)); }
    // A number in 0 … n − 1 for an int n > 0.
    int belowInt(int n) { return static_cast<int>(below(static_cast<std::uint64_t>(n))); }
    // True in `percent` out of a hundred draws.
    bool chance(int percent) { return belowInt(100) < percent; }

private:
    std::mt19937_64 engine_;
};

} // namespace fibmod::testing
