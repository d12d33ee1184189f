// SPDX-License-Identifier: MIT
// How a command ended, what it runs with, and how its writes are checked.
#pragma once

#include <functional>
#include <stop_token>
#include <string>

#include "cli/output_file.h"
#include "core/engine/scan.h"

namespace fibmod::cli {

// How a command ended, its output already written: the exit code (0
// success; 1 a run-time error of the computation, a start pair that never
// comes back where a figure was asked for, or a failed write; 128 + the
// signal when stopped) and its report for standard error (empty, or one
// line ending with a line feed).
struct CommandResult {
    int exitCode = 0;
    std::string err;
};

// What a command runs with.
struct CommandContext {
    // Where its output goes.
    OutputFile& out;
    // Requested when the user interrupts; the command then ends early with
    // stoppedExitCode().
    std::stop_token stop{};
    std::function<int()> stoppedExitCode = [] { return 130; };
    // True when a progress line may be shown on standard error (a terminal).
    bool progress = false;
    // The engine's options each scan and search starts from: the command
    // sets the term bound, threads, residues and stop. fibmod-cli leaves
    // them as they are; a test's program holds its scans at a modulus through
    // their beforeModulus.
    ScanOptions scan{};
};

// Runs a command; a write that fails ends it with exit code 1 and one line
// naming the failure, except for a reader that has gone away (a closed pipe),
// which ends it quietly with exit code 0.
CommandResult RunChecked(const std::function<CommandResult()>& command);

// Writes the report to standard error. A nonzero exit code is thrown as
// CLI::RuntimeError, so that the command line's parse ends with it.
void Deliver(const CommandResult& result);

} // namespace fibmod::cli
