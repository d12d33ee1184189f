// SPDX-License-Identifier: MIT
// How a command's end reaches the process: its report and its exit code.
#include "cli/command_result.h"

#include <unistd.h>

#include <CLI/CLI.hpp>

namespace fibmod::cli {

CommandResult RunChecked(const std::function<CommandResult()>& command)
{
    try {
        return command();
    } catch (const WriteFailed& failure) {
        if (failure.readerGone()) return {};
        return {1, std::string("fibmod-cli: cannot write the output: ") + failure.what() + "\n"};
    }
}

void Deliver(const CommandResult& result)
{
    OutputFile err(STDERR_FILENO);
    try {
        err.write(result.err);
    } catch (const WriteFailed&) {
        // Standard error itself is gone; the exit code still tells.
    }
    if (result.exitCode != 0) throw CLI::RuntimeError(result.exitCode);
}

} // namespace fibmod::cli
