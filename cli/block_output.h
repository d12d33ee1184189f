// SPDX-License-Identifier: MIT
// Rows gathered into large blocks on their way to the output.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

#include "cli/output_file.h"

namespace fibmod::cli {

// Text written to an OutputFile in blocks: a block goes out once it holds
// kBlockBytes, once its oldest text has waited kBlockWait (a thread of its
// own watches the time, so that slow rows still arrive as they are done),
// and at flush(). Each piece of text handed over stays whole within a block.
class BlockOutput {
public:
    static constexpr std::size_t kBlockBytes = 64 * 1024;
    static constexpr std::chrono::milliseconds kBlockWait{100};

    explicit BlockOutput(OutputFile& out);
    // Stops the watch; what was not flushed is dropped.
    ~BlockOutput();

    // Appends one piece (e.g. a row) that `write` puts at the end of the
    // block it is given; `closing` is the text that closes the document
    // once the piece is out (see OutputFile::write). WriteFailed when an
    // earlier block did not reach the file.
    template <class Write>
    void add(const Write& write, const std::string& closing)
    {
        std::unique_lock lock(mutex_);
        raiseFailure();
        const bool opened = block_.empty();
        if (opened) since_ = std::chrono::steady_clock::now();
        write(block_);
        closing_ = closing;
        if (block_.size() >= kBlockBytes) {
            sendLocked();
        } else if (opened) {
            lock.unlock();
            waiting_.notify_one();
        }
    }

    // Writes what is gathered; WriteFailed as add().
    void flush();

private:
    void sendLocked();
    void raiseFailure();
    void watch(std::stop_token stop);

    OutputFile& out_;
    std::mutex mutex_;
    std::condition_variable_any waiting_;
    std::string block_;
    std::string closing_;
    std::chrono::steady_clock::time_point since_;
    std::exception_ptr failure_;
    // Last: it ends first.
    std::jthread watch_;
};

} // namespace fibmod::cli
