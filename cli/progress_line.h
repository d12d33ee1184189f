// SPDX-License-Identifier: MIT
// The progress line a scan shows on a terminal.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "core/engine/scan.h"

namespace fibmod::cli {

// What a modulus costs, for the time left: in proportion to its size (a
// walk through its cycles), or the same for every modulus (its periods from
// its factors).
enum class ModulusCost { Size, Even };

// The progress of a scan in one line: moduli done of all, the rate and the
// time left, e.g. "1,234 of 99,999 moduli, 850/s, about 2 min left".
std::string ProgressText(ModulusRange range, std::int64_t done, std::chrono::duration<double> elapsed,
                         ModulusCost cost = ModulusCost::Size);

// A progress line on standard error, redrawn at most 10 times a second from
// its own thread while it lives, and wiped at the end. Shows nothing when
// not `shown`.
class ProgressLine {
public:
    ProgressLine(ModulusRange range, bool shown, ModulusCost cost = ModulusCost::Size);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // The row of `modulus` and every row before it are written.
    void done(std::int64_t modulus) { last_.store(modulus, std::memory_order_relaxed); }

    // Calls write(), which writes to standard output, with the line wiped
    // first where standard output is a terminal too (the line comes back
    // at its next redraw), so that the output does not follow its text.
    template <class Write>
    void writeBeside(const Write& write)
    {
        if (!sharedTerminal_) return write();
        const std::lock_guard lock(terminal_);
        if (drawn_) WipeLine();
        drawn_ = false;
        write();
    }

private:
    void draw(std::stop_token stop);
    static void WipeLine();

    ModulusRange range_;
    ModulusCost cost_;
    std::atomic<std::int64_t> last_;
    // Shown, and standard output is a terminal as well.
    bool sharedTerminal_ = false;
    // Held while the line or the output beside it is written.
    std::mutex terminal_;
    bool drawn_ = false;
    std::jthread drawer_;
};

} // namespace fibmod::cli
