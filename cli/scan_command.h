// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "cli/command_result.h"
#include "cli/inputs_options.h"

namespace fibmod::cli {

// The options of "scan": the inputs, the moduli from … to (both included,
// within kModulusMin … kModulusMax) and the output format.
struct ScanCommandOptions {
    InputsOptions inputs;
    int from = 0;
    int to = 0;
    // "table", "csv" or "json".
    std::string format;
};

// Adds the subcommand "scan" to `app`, bound to `options`; when it is given,
// the parse checks --from <= --to (a usage error otherwise), runs it and
// delivers its result.
void SetUpScanCommand(CLI::App& app, ScanCommandOptions& options);

// One row per modulus from..to: both cycle lengths, the number of common
// residues and the residues, or the run-time error the window reports for
// that modulus. As an aligned table, as CSV (RFC 4180: CR LF line ends, a
// header line, residues separated by single blanks, the other columns empty
// in an error row) or as a JSON array of objects with the same keys (numbers
// as numbers, residues as an array, null where CSV leaves a field empty).
// Always exit code 0.
CommandResult RunScanCommand(const ScanCommandOptions& options);

} // namespace fibmod::cli
