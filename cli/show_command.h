// SPDX-License-Identifier: MIT
#pragma once

#include <CLI/CLI.hpp>

#include "cli/command_result.h"
#include "cli/inputs_options.h"

namespace fibmod::cli {

// The options of "show": the inputs and the modulus to type (kModulusMin …
// kModulusMax), and whether to print JSON.
struct ShowCommandOptions {
    InputsOptions inputs;
    int modulus = 0;
    bool json = false;
};

// Adds the subcommand "show" to `app`, bound to `options`; when it is given,
// the parse runs it and delivers its result.
void SetUpShowCommand(CLI::App& app, ShowCommandOptions& options);

// What the window shows after the inputs and then the modulus are typed:
// both listings, the common members with the summary and the three result
// fields, as plain columns or (json) as one object with every field's exact
// text and the numbers. A run-time error gives the window's message on
// standard error and exit code 1.
CommandResult RunShowCommand(const ShowCommandOptions& options);

} // namespace fibmod::cli
