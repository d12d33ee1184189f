// SPDX-License-Identifier: MIT
// SIGINT and SIGTERM turned into a stop request, with a grace before the program is ended.
#pragma once

#include <chrono>
#include <functional>
#include <stop_token>
#include <thread>

namespace fibmod::cli {

// Turns SIGINT and SIGTERM into a stop request while it lives. The signal
// handler only writes to a pipe; a watcher thread reads it and requests the
// stop. When the program has not ended `grace` later (a single long cycle
// does not look at the request), the watcher calls `overdue` with the exit
// code, which is to end the program at once. At most one lives at a time.
class Interruption {
public:
    Interruption(std::chrono::milliseconds grace, std::function<void(int exitCode)> overdue);
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    std::stop_token token() const { return stop_.get_token(); }
    // 128 + the signal caught first: 130 for SIGINT, 143 for SIGTERM; 0
    // while none was caught.
    int exitCode() const;

private:
    void watch();

    std::chrono::milliseconds grace_;
    std::function<void(int)> overdue_;
    std::stop_source stop_;
    std::jthread watcher_;
};

} // namespace fibmod::cli
