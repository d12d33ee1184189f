// SPDX-License-Identifier: MIT
// How many worker threads a scan runs: "0 means one per core", and the most a user may ask for.
#pragma once

#include <algorithm>
#include <thread>

namespace fibmod {

// The most worker threads a user may ask for; more would only wait for each other.
inline constexpr unsigned kWorkerThreadsMax = 1024;

// The threads a scan asked for `asked` runs: 0 takes one per core (one when
// the number of cores is unknown).
inline unsigned WorkerThreads(unsigned asked)
{
    if (asked != 0) return asked;
    return std::max(1u, std::thread::hardware_concurrency());
}

} // namespace fibmod
