// SPDX-License-Identifier: MIT
#pragma once

#include <CLI/CLI.hpp>

#include "cli/command_result.h"
#include "cli/inputs_options.h"

namespace fibmod::cli {

// The options of "next": the inputs and the modulus the button is pressed at
// (kModulusMin … kModulusMax).
struct NextCommandOptions {
    InputsOptions inputs;
    int modulus = 0;
};

// Adds the subcommand "next" to `app`, bound to `options`; when it is given,
// the parse runs it and delivers its result.
void SetUpNextCommand(CLI::App& app, NextCommandOptions& options);

// Where the window's stepping button stops when pressed at the modulus: the
// first modulus above it with exactly one common residue, printed alone on a
// line; the limit message "Begrenzung: Modul m < 2000" when none is found up
// to the limit or the modulus is the limit itself (exit code 0 either way).
// A run-time error at a modulus on the way stops the stepping there, as in
// the window: the window's message, naming that modulus, on standard error
// and exit code 1.
CommandResult RunNextCommand(const NextCommandOptions& options);

} // namespace fibmod::cli
