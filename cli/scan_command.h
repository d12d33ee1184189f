// SPDX-License-Identifier: MIT
// The subcommand "scan": one row per modulus.
#pragma once

#include <cstdint>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/command_result.h"
#include "cli/engine_options.h"
#include "cli/inputs_options.h"

namespace fibmod::cli {

// The options of "scan": the inputs, the moduli from … to (both included,
// within kModulusMin … kEngineModulusMax), the output format, whether to
// leave out the header and how the engine runs.
struct ScanCommandOptions {
    InputsOptions inputs;
    std::int64_t from = 0;
    std::int64_t to = 0;
    // "table", "csv" or "json".
    std::string format;
    bool noHeader = false;
    EngineOptions engine;
};

// Adds the subcommand "scan" to `app`, bound to `options`; when it is given,
// the parse checks --from <= --to and the term bound (usage errors
// otherwise), runs it in `context` and delivers its result.
void SetUpScanCommand(CLI::App& app, ScanCommandOptions& options, CommandContext& context);

// One row per modulus from..to: both cycle lengths, the number of common
// residues and the residues, or why the row has no figures (the window's
// run-time error, or a start pair that never comes back). Each row is
// written as soon as it and every row before it are done, in ascending
// order. As an aligned table (columns as wide as their largest possible
// value), as CSV (RFC 4180: CR LF line ends, a header line, residues
// separated by single blanks, the other columns empty in an error row) or
// as a JSON array of objects with the same keys (numbers as numbers,
// residues as an array, null where CSV leaves a field empty). noHeader
// leaves out the table's and the CSV's header line, so that the parts of a
// split range join into the whole. Exit code 0; when stopped, the rows
// written so far end on a whole row (a JSON array is closed) and the exit
// code is context.stoppedExitCode().
CommandResult RunScanCommand(const ScanCommandOptions& options, CommandContext& context);

} // namespace fibmod::cli
