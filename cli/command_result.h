// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace fibmod::cli {

// What a command produced: its whole standard output, its error report and
// the program's exit code (0 success, 1 a run-time error of the computation).
struct CommandResult {
    std::string out;
    std::string err;
    int exitCode = 0;
};

// Writes the output to standard output and the report to standard error,
// each in one go; a reader that has gone away ends the writing quietly. A
// nonzero exit code is thrown as CLI::RuntimeError, so that the command line's
// parse ends with it.
void Deliver(const CommandResult& result);

} // namespace fibmod::cli
