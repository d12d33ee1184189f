// SPDX-License-Identifier: MIT
// A scan's progress on a terminal.
#include "cli/progress_line.h"

#include <cmath>

#include <unistd.h>

namespace fibmod::cli {

namespace {

constexpr auto kRedraw = std::chrono::milliseconds(100);

// Digits in groups of three: 1,234,567.
std::string Grouped(std::int64_t n)
{
    std::string digits = std::to_string(n);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return digits;
}

std::string Duration(double seconds)
{
    if (seconds < 60) return std::to_string(std::llround(seconds)) + " s";
    if (seconds < 3600 * 2) return std::to_string(std::llround(seconds / 60)) + " min";
    return std::to_string(std::llround(seconds / 3600)) + " h";
}

// The work up to modulus m from the range's start, a modulus costing its size.
double WorkUpTo(ModulusRange range, double m)
{
    const auto from = static_cast<double>(range.from);
    return (m * (m + 1) - from * (from - 1)) / 2;
}

void WriteToTerminal(const std::string& text)
{
    // A line that does not reach the terminal is no loss.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
}

} // namespace

std::string ProgressText(ModulusRange range, std::int64_t done, std::chrono::duration<double> elapsed,
                         ModulusCost cost)
{
    const std::int64_t all = range.to - range.from + 1;
    std::string text = Grouped(done) + " of " + Grouped(all) + " moduli";
    const double seconds = elapsed.count();
    if (done == 0 || seconds <= 0) return text;
    text += ", " + Grouped(std::llround(static_cast<double>(done) / seconds)) + "/s";
    double workDone = static_cast<double>(done);
    double workLeft = static_cast<double>(all - done);
    if (cost == ModulusCost::Size) {
        workDone = WorkUpTo(range, static_cast<double>(range.from + done - 1));
        workLeft = WorkUpTo(range, static_cast<double>(range.to)) - workDone;
    }
    text += ", about " + Duration(seconds * workLeft / workDone) + " left";
    return text;
}

ProgressLine::ProgressLine(ModulusRange range, bool shown, ModulusCost cost)
    : range_(range), cost_(cost), last_(range.from - 1)
{
    sharedTerminal_ = shown && ::isatty(STDOUT_FILENO) == 1;
    if (shown) drawer_ = std::jthread([this](std::stop_token stop) { draw(stop); });
}

ProgressLine::~ProgressLine()
{
    if (!drawer_.joinable()) return;
    drawer_.request_stop();
    drawer_.join();
    WipeLine();
}

void ProgressLine::WipeLine() { WriteToTerminal("\r\033[K"); }

void ProgressLine::draw(std::stop_token stop)
{
    const auto start = std::chrono::steady_clock::now();
    std::mutex mutex;
    std::condition_variable_any tick;
    std::unique_lock lock(mutex);
    for (;;) {
        tick.wait_for(lock, stop, kRedraw, [] { return false; });
        if (stop.stop_requested()) return;
        const std::int64_t done = last_.load(std::memory_order_relaxed) - range_.from + 1;
        // Appended, not "\r" + text: g++ 12 at -O3 warns falsely of an overlapping copy there.
        std::string line = "\r";
        line += ProgressText(range_, done, std::chrono::steady_clock::now() - start, cost_);
        line += "\033[K";
        const std::lock_guard drawing(terminal_);
        WriteToTerminal(line);
        drawn_ = true;
    }
}

} // namespace fibmod::cli
