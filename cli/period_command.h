// SPDX-License-Identifier: MIT
// The subcommand "period": exact pre-periods and periods of huge moduli.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/command_result.h"
#include "cli/engine_options.h"
#include "cli/inputs_options.h"

namespace fibmod::cli {

// The options of "period": the inputs (whole numbers of any length here),
// the moduli (as arguments, "-" for standard input, or --from/--to), the
// output format and how the engine runs.
struct PeriodCommandOptions {
    InputsOptions inputs;
    // The arguments: moduli, or the single "-".
    std::vector<std::string> moduli;
    // Both or neither.
    std::string from;
    std::string to;
    // "table", "csv" or "json".
    std::string format = "table";
    bool noHeader = false;
    // --threads and --quiet.
    EngineOptions engine;
};

// Adds the subcommand "period" to `app`, bound to `options`; when it is
// given, the parse checks the inputs, the moduli and their source (usage
// errors otherwise, before any row), runs it in `context` with standard
// input as its input and delivers its result.
void SetUpPeriodCommand(CLI::App& app, PeriodCommandOptions& options, CommandContext& context);

// Checks what the parse cannot: exactly one source of moduli, both ends of a
// range, --from <= --to, every modulus and input a whole number, the moduli
// from 2 to 2^127 − 1. CLI::ValidationError naming the option otherwise.
void CheckPeriodOptions(const PeriodCommandOptions& options);

// One row per modulus, in the order given (a range ascending): M, both
// sequences' pre-period and period, and M's factorisation. Rows are written
// as soon as they and every row before them are done; from standard input,
// the rows of the lines read so far are written before the command waits
// for more input. As an aligned table
// (Modul, Vorlauf 1, Zykellänge 1, Vorlauf 2, Zykellänge 2, Zerlegung), as
// CSV (RFC 4180, CR LF; modulus,preperiod1,length1,preperiod2,length2,
// factors with factors as "2^3 3 5^2") or as a JSON array of objects with
// the same keys, every number an exact integer and factors as [p, e] pairs.
// A bad line of standard input ends the run after the rows before it, with
// kUsageError and "fibmod-cli: standard input, line N: …". When stopped,
// the rows written so far end on a whole row (a JSON array is closed) and
// the exit code is context.stoppedExitCode(). The period engine is loaded
// on the first run (PeriodEngineMissing when it cannot be).
CommandResult RunPeriodCommand(const PeriodCommandOptions& options, CommandContext& context, std::istream& input);

} // namespace fibmod::cli
