// SPDX-License-Identifier: MIT
// The program fibmod-cli: what its commands run with, and its command line run with it.
#pragma once

#include "cli/command_result.h"
#include "cli/interruption.h"
#include "cli/output_file.h"

namespace fibmod::cli {

// What fibmod-cli's commands run with while it lives: standard output, with
// SIGPIPE ignored so that a closed pipe is a failed write; SIGINT and SIGTERM
// as the stop request, and after 50 ms without an end the program left at
// once, its output closed on a whole row; a progress line where standard
// error is a terminal. At most one lives at a time.
class ProgramContext {
public:
    ProgramContext();
    ProgramContext(const ProgramContext&) = delete;
    ProgramContext& operator=(const ProgramContext&) = delete;

    CommandContext& context() { return context_; }

private:
    OutputFile out_;
    Interruption interruption_;
    CommandContext context_;
};

// Parses the command line, runs the subcommand it names with `context` and
// returns the exit status.
int RunCommandLine(int argc, char** argv, CommandContext& context);

// fibmod-cli: its command line run with a ProgramContext.
int RunProgram(int argc, char** argv);

} // namespace fibmod::cli
