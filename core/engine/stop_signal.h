// SPDX-License-Identifier: MIT
// The engine's stop signal: the standard library's where it has <stop_token>, the engine's own elsewhere.
#pragma once

#include <utility>
#include <version>

#if defined(__cpp_lib_jthread)
#include <condition_variable>
#include <stop_token>
#include <thread>
#else
#include "core/engine/portable_stop.h"
#endif

namespace fibmod {

#if defined(__cpp_lib_jthread)

// A request to stop, seen by every token of its source (std::stop_source).
using StopSource = std::stop_source;
// What a long computation polls to end early (std::stop_token).
using StopToken = std::stop_token;
// Runs a callable when stop is requested (std::stop_callback).
template <class Callback> using StopCallback = std::stop_callback<Callback>;
// A worker asked to stop and joined when destroyed (std::jthread).
using WorkerThread = std::jthread;

// Waits on `changed` until `ready` holds (true) or stop is requested (false
// unless `ready` holds by then): condition_variable_any's wait with a token.
template <class Lock, class Ready>
bool WaitUntil(std::condition_variable_any& changed, Lock& lock, const StopToken& stop, Ready ready)
{
    return changed.wait(lock, stop, std::move(ready));
}

#else

// The same, by the engine's own types (core/engine/portable_stop.h).
using StopSource = portable::StopSource;
using StopToken = portable::StopToken;
template <class Callback> using StopCallback = portable::StopCallback<Callback>;
using WorkerThread = portable::WorkerThread;
using portable::WaitUntil;

#endif

} // namespace fibmod
