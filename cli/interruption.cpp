// SPDX-License-Identifier: MIT
// SIGINT and SIGTERM as a stop request.
#include "cli/interruption.h"

#include <atomic>
#include <cerrno>
#include <csignal>

#include <poll.h>
#include <unistd.h>

namespace fibmod::cli {

namespace {

// The first signal caught.
std::atomic<int> caught{0};
// Tells the watcher to end.
std::atomic<bool> quit{false};
// The pipe from the handler to the watcher.
int wakeRead = -1;
int wakeWrite = -1;

void Wake()
{
    const char byte = 1;
    const int saved = errno;
    // Nothing to do when the pipe is full: the watcher is awake already.
    while (::write(wakeWrite, &byte, 1) < 0 && errno == EINTR) {
    }
    errno = saved;
}

extern "C" void OnSignal(int signal)
{
    int none = 0;
    caught.compare_exchange_strong(none, signal);
    Wake();
}

// Waits until the pipe has a byte or `timeoutMs` passed (-1: for ever);
// true when woken.
bool WaitForWake(int timeoutMs)
{
    pollfd wait{wakeRead, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&wait, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return false;
    char byte;
    while (::read(wakeRead, &byte, 1) < 0 && errno == EINTR) {
    }
    return true;
}

} // namespace

Interruption::Interruption(std::chrono::milliseconds grace, std::function<void(int exitCode)> overdue)
    : grace_(grace), overdue_(std::move(overdue))
{
    int ends[2];
    if (::pipe(ends) != 0) return;
    wakeRead = ends[0];
    wakeWrite = ends[1];
    caught = 0;
    quit = false;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    watcher_ = std::jthread([this] { watch(); });
}

Interruption::~Interruption()
{
    if (wakeRead < 0) return;
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    quit = true;
    Wake();
    watcher_.join();
    ::close(wakeRead);
    ::close(wakeWrite);
    wakeRead = wakeWrite = -1;
}

int Interruption::exitCode() const
{
    const int signal = caught.load();
    return signal > 0 ? 128 + signal : 0;
}

void Interruption::watch()
{
    while (caught.load() == 0) {
        WaitForWake(-1);
        if (quit) return;
    }
    stop_.request_stop();
    // The program normally ends well within the grace; the destructor's
    // wake then ends the wait.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + grace_;
    for (Clock::time_point now = Clock::now(); now < deadline; now = Clock::now()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        WaitForWake(static_cast<int>(left.count()));
        if (quit) return;
    }
    overdue_(exitCode());
}

} // namespace fibmod::cli
