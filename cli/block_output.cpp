// SPDX-License-Identifier: MIT
// Blocks of rows written at 64 KiB or after 100 ms, whichever comes first.
#include "cli/block_output.h"

namespace fibmod::cli {

BlockOutput::BlockOutput(OutputFile& out) : out_(out), watch_([this](std::stop_token stop) { watch(stop); })
{
    block_.reserve(2 * kBlockBytes);
}

BlockOutput::~BlockOutput()
{
    watch_.request_stop();
    watch_.join();
}

void BlockOutput::flush()
{
    const std::lock_guard lock(mutex_);
    raiseFailure();
    sendLocked();
}

void BlockOutput::sendLocked()
{
    if (block_.empty()) return;
    try {
        out_.write(block_, closing_);
    } catch (...) {
        failure_ = std::current_exception();
        block_.clear();
        throw;
    }
    block_.clear();
}

void BlockOutput::raiseFailure()
{
    if (failure_) std::rethrow_exception(failure_);
}

void BlockOutput::watch(std::stop_token stop)
{
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested()) {
        const auto due = since_ + kBlockWait;
        if (block_.empty() || failure_) {
            waiting_.wait_for(lock, stop, kBlockWait, [] { return false; });
            continue;
        }
        if (std::chrono::steady_clock::now() < due) {
            waiting_.wait_until(lock, stop, due, [] { return false; });
            continue;
        }
        try {
            sendLocked();
        } catch (...) {
            // Kept in failure_: the next add() or flush() raises it.
        }
    }
}

} // namespace fibmod::cli
