// SPDX-License-Identifier: MIT
// The period engine run on a thread of its own while the calling thread
// watches for Ctrl-C, so that a long modulus does not delay it.
#pragma once

#include <functional>
#include <stop_token>
#include <vector>

#include "core/engine/period/period_engine.h"

namespace fibmod::python {

// Runs run(stop, sink) on a thread of its own and returns the rows it gave
// sink, in order; its exception is raised here. The calling thread holds
// the GIL only to look for a pending signal, every 50 ms: KeyboardInterrupt
// (or what the handler raised) requests the stop and is raised at once,
// without waiting for the modulus under way, whose thread ends by itself
// later. `run` must therefore own what it reads (capture by value).
std::vector<PeriodRowText> PeriodRowsWatched(std::function<void(std::stop_token, const PeriodRowSink&)> run);

// Waits until every run left behind by an interruption has ended (called
// at the interpreter's exit, with the GIL released).
void WaitForRunsLeftBehind();

} // namespace fibmod::python
