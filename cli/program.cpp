// SPDX-License-Identifier: MIT
// The program fibmod-cli: signals and output handled, its subcommands set up, the command line parsed.
#include "cli/program.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include <CLI/CLI.hpp>

#include "cli/command_result.h"
#include "cli/interruption.h"
#include "cli/next_command.h"
#include "cli/output_file.h"
#ifdef FIBMOD_HAS_PERIOD
#include "cli/period_command.h"
#endif
#include "cli/scan_command.h"
#include "cli/show_command.h"
#include "cli/usage_errors.h"
#include "version/version.h"

namespace {

constexpr const char* kExamples = R"(Examples:
  $ fibmod-cli show --modulus 3
  $ fibmod-cli show --r1 1 --s1 1 --start1 0,1 --modulus 10 --json
  $ fibmod-cli show --modulus 1000003 --max-terms none --summary
  $ fibmod-cli scan --to 100 --format csv > scan.csv
  $ fibmod-cli scan --from 2 --to 100000 --max-terms none --format csv > all.csv
  $ fibmod-cli next --modulus 5
  $ fibmod-cli next --modulus 2000 --limit 100000 --max-terms none
  $ fibmod-cli scan --s2 -2 --from 50 --to 60
  $ fibmod-cli period 1000000007 12
  $ fibmod-cli period --s2 2 --format csv 170141183460469231731687303715884105727
  $ seq 1000 2000 | fibmod-cli period - --format json > periods.json
  $ fibmod-cli period --from 1000000000000 --to 1000000999999 --format csv > range.csv

Inputs not given take the window's design-time values: sequence 1
r = 6, s = -1, start 1,1; sequence 2 r = 4, s = -1, start 1,1.
Numbers are read as the window reads them (sign, digits with one ".",
exponent E or D), but must be nothing else; blanks may stand around them.
Moduli, bounds and counts are whole numbers in decimal digits.

"period" computes the pre-period (Vorlauf) and period (Zykellänge) of
both sequences from the factors of M instead of walking the cycles, for
moduli up to 2^127 - 1; its inputs are whole numbers of any length
(--r1 -3, --r1=-3, --start1=-5,7), its moduli arguments, - (one a line
on standard input) or a range --from/--to.

A range split with --from and --to over several machines joins again:
the parts written with --no-header (after the first) concatenate into
the output of the whole range.

On a terminal, scan and next show their progress on standard error
(not with --quiet). SIGINT (Ctrl-C) or SIGTERM stops a command within a
moment; the output written so far ends on a whole row.

Exit status: 0 success, 1 a run-time error of the computation ("show",
"next"; "scan" reports it in the row) or a failed write, 2 a usage
error, 130 stopped by SIGINT, 143 stopped by SIGTERM.)";

} // namespace

namespace fibmod::cli {

ProgramContext::ProgramContext()
    : out_(STDOUT_FILENO),
      // A computation that does not look at the stop request (one long
      // cycle) is left behind; the output still ends on a whole row.
      interruption_(std::chrono::milliseconds(50),
                    [this](int exitCode) {
                        out_.closeForGood();
                        // quick_exit, not _Exit: the period engine removes its scratch files.
                        std::quick_exit(exitCode);
                    }),
      context_{
          .out = out_,
          .stop = interruption_.token(),
          .stoppedExitCode = [this] { return interruption_.exitCode(); },
          .progress = ::isatty(STDERR_FILENO) == 1,
      }
{
    // A reader that goes away ends the output quietly.
    std::signal(SIGPIPE, SIG_IGN);
}

int RunCommandLine(int argc, char** argv, CommandContext& context)
{
    CLI::App app{"Two linear recurrences a(n+1) = r*a(n) + s*a(n-1) modulo M: their cycles and common residues.",
                 "fibmod-cli"};
    app.set_version_flag("--version", std::string("fibmod-cli ") + fibmod::kVersion);
    app.set_help_all_flag("--help-all", "Print the help of every subcommand and exit");
    app.footer(kExamples);
    fibmod::cli::ReportUsageErrorsInOneLine(app);

    fibmod::cli::ShowCommandOptions show;
    fibmod::cli::ScanCommandOptions scan;
    fibmod::cli::NextCommandOptions next;
    fibmod::cli::SetUpShowCommand(app, show, context);
    fibmod::cli::SetUpScanCommand(app, scan, context);
    fibmod::cli::SetUpNextCommand(app, next, context);
#ifdef FIBMOD_HAS_PERIOD
    fibmod::cli::PeriodCommandOptions period;
    fibmod::cli::SetUpPeriodCommand(app, period, context);
#endif
    app.require_subcommand(1);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return fibmod::cli::ExitCodeOf(app, error);
    }
    return 0;
}

int RunProgram(int argc, char** argv)
{
    ProgramContext program;
    return RunCommandLine(argc, argv, program.context());
}

} // namespace fibmod::cli
