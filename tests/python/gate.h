// SPDX-License-Identifier: MIT
// A gate that holds a scan inside the engine until a test opens it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace fibmod::python::testing {

// A test hook that holds a scan inside the engine until another Python thread
// lets it go, so that a test can show that the GIL is free meanwhile. The
// first modulus a worker reaches waits at the gate; later ones pass.
class Gate {
public:
    // On an engine worker: marks the gate as reached and waits until open()
    // or, so that a held GIL fails the test instead of hanging it, until
    // `guardSeconds` have passed.
    void hold(std::int64_t modulus);
    // Waits until a worker waits at the gate.
    void waitUntilHeld();
    // Lets the waiting worker and every later one go.
    void open();
    // True when the gate was opened while a worker waited, not by the guard.
    bool openedInTime() const;
    // The modulus held at the gate, 0 before.
    std::int64_t heldModulus() const;

    double guardSeconds = 60;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::int64_t held_ = 0;
    bool open_ = false;
    bool inTime_ = false;
};

} // namespace fibmod::python::testing
