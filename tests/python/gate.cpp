// SPDX-License-Identifier: MIT
// The test hook that holds a scan inside the engine.
#include "tests/python/gate.h"

#include <chrono>

namespace fibmod::python::testing {

void Gate::hold(std::int64_t modulus)
{
    std::unique_lock lock(mutex_);
    if (open_ || held_ != 0) return;
    held_ = modulus;
    changed_.notify_all();
    inTime_ = changed_.wait_for(lock, std::chrono::duration<double>(guardSeconds), [this] { return open_; });
    open_ = true;
}

void Gate::waitUntilHeld()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return held_ != 0; });
}

void Gate::open()
{
    {
        const std::lock_guard lock(mutex_);
        open_ = true;
    }
    changed_.notify_all();
}

bool Gate::openedInTime() const
{
    const std::lock_guard lock(mutex_);
    return inTime_;
}

std::int64_t Gate::heldModulus() const
{
    const std::lock_guard lock(mutex_);
    return held_;
}

} // namespace fibmod::python::testing
