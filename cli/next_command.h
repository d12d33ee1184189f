// SPDX-License-Identifier: MIT
// The subcommand "next": where the stepping stops.
#pragma once

#include <cstdint>

#include <CLI/CLI.hpp>

#include "cli/command_result.h"
#include "cli/engine_options.h"
#include "cli/inputs_options.h"
#include "core/engine/modulus_range.h"

namespace fibmod::cli {

// The options of "next": the inputs, the modulus the button is pressed at
// and the last modulus looked at (each kModulusMin … kEngineModulusMax), and
// how the engine runs.
struct NextCommandOptions {
    InputsOptions inputs;
    std::int64_t modulus = 0;
    std::int64_t limit = kModulusMax;
    EngineOptions engine;
};

// Adds the subcommand "next" to `app`, bound to `options`; when it is given,
// the parse checks the term bound (a usage error otherwise), runs it in
// `context` and delivers its result.
void SetUpNextCommand(CLI::App& app, NextCommandOptions& options, CommandContext& context);

// Where the window's stepping button stops when pressed at the modulus (the
// core's NextStop, up to the limit): the first modulus above it with exactly
// one common residue, printed alone on a line. When none is found up to the
// limit: with the window's limit 2000 its message "Begrenzung: Modul m <
// 2000", with any other limit one German line saying that no modulus above
// the modulus up to the limit has exactly one common residue (exit code 0
// either way). A row without figures on the way (a run-time error, or a
// start pair that never comes back) stops the stepping there, as in the
// window: its message, naming that modulus, on standard error and exit code
// 1. When stopped, nothing is printed and the exit code is
// context.stoppedExitCode().
CommandResult RunNextCommand(const NextCommandOptions& options, CommandContext& context);

} // namespace fibmod::cli
