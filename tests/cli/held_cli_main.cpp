// SPDX-License-Identifier: MIT
// fibmod-cli for the tests that stop it at a known point: with FIBMOD_CLI_HOLD_AT=M
// it holds the computation before modulus M, says "held at M" on standard
// error and waits for the stop request. Built for the tests only.
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>

#include <unistd.h>

#include "cli/program.h"

namespace {

std::function<void(std::int64_t)> HoldAt(std::stop_token stop)
{
    const char* at = std::getenv("FIBMOD_CLI_HOLD_AT");
    if (at == nullptr) return {};
    const std::int64_t held = std::atoll(at);
    return [held, stop](std::int64_t modulus) {
        if (modulus != held) return;
        const std::string line = "held at " + std::to_string(modulus) + "\n";
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
        std::mutex mutex;
        std::condition_variable_any never;
        std::unique_lock lock(mutex);
        never.wait(lock, stop, [] { return false; });
    };
}

} // namespace

int main(int argc, char** argv) { return fibmod::cli::RunProgram(argc, argv, HoldAt); }
