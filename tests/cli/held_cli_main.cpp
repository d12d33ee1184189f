// SPDX-License-Identifier: MIT
// fibmod-cli for the tests that stop a scan at a known point: with FIBMOD_CLI_HOLD_AT=M its scans and searches hold
// before modulus M, say "held at M" on standard error and wait for the stop request. Built for the tests only.
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <string>

#include <unistd.h>

#include "cli/program.h"
#include "core/engine/stop_signal.h"

namespace {

// Holds a worker before `held` until `stop` is requested.
std::function<void(std::int64_t)> HoldAt(std::int64_t held, fibmod::StopToken stop)
{
    return [held, stop](std::int64_t modulus) {
        if (modulus != held) return;
        const std::string line = "held at " + std::to_string(modulus) + "\n";
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
        std::mutex mutex;
        std::condition_variable_any never;
        std::unique_lock lock(mutex);
        fibmod::WaitUntil(never, lock, stop, [] { return false; });
    };
}

} // namespace

int main(int argc, char** argv)
{
    fibmod::cli::ProgramContext program;
    fibmod::cli::CommandContext& context = program.context();
    if (const char* at = std::getenv("FIBMOD_CLI_HOLD_AT"))
        context.scan.beforeModulus = HoldAt(std::atoll(at), context.stop);
    return fibmod::cli::RunCommandLine(argc, argv, context);
}
