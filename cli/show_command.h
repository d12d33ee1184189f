// SPDX-License-Identifier: MIT
// The subcommand "show": the window's fields for one modulus.
#pragma once

#include <cstdint>

#include <CLI/CLI.hpp>

#include "cli/command_result.h"
#include "cli/engine_options.h"
#include "cli/inputs_options.h"

namespace fibmod::cli {

// The options of "show": the inputs and the modulus to type (kModulusMin …
// kEngineModulusMax), whether to print JSON or only the summary, and the
// term bound.
struct ShowCommandOptions {
    InputsOptions inputs;
    std::int64_t modulus = 0;
    bool json = false;
    bool summary = false;
    EngineOptions engine;
};

// Adds the subcommand "show" to `app`, bound to `options`; when it is given,
// the parse checks the term bound (a usage error otherwise), runs it in
// `context` and delivers its result.
void SetUpShowCommand(CLI::App& app, ShowCommandOptions& options, CommandContext& context);

// What the window shows after the inputs and then the modulus are typed
// (the core's ShowModulus, past the window's bounds too): both listings, the
// common members with the summary and the three result fields, as plain
// columns under the window's headings; with summary, the result fields and
// the summary alone. With json, one object: the numbers under the scan's
// keys, "sequence1" and "sequence2" (listing: the listing's text, length),
// "common" (members: the member lines' text, residues, count) and "fields"
// (every field's exact text under the window's control name). A run-time
// error, or a start pair that never comes back, gives its message on
// standard error and exit code 1.
CommandResult RunShowCommand(const ShowCommandOptions& options, CommandContext& context);

} // namespace fibmod::cli
