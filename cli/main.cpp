// SPDX-License-Identifier: MIT
// fibmod-cli: the window's computation on the command line.
#include <csignal>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/next_command.h"
#include "cli/scan_command.h"
#include "cli/show_command.h"
#include "cli/usage_errors.h"
#include "version/version.h"

namespace {

constexpr const char* kExamples = R"(Examples:
  $ fibmod-cli show --modulus 3
  $ fibmod-cli show --r1 1 --s1 1 --start1 0,1 --modulus 10 --json
  $ fibmod-cli scan --to 100 --format csv > scan.csv
  $ fibmod-cli next --modulus 5
  $ fibmod-cli scan --s2 -2 --from 50 --to 60

Inputs not given take the window's design-time values: sequence 1
r = 6, s = -1, start 1,1; sequence 2 r = 4, s = -1, start 1,1.
Numbers are read as the window reads them (sign, digits with one ".",
exponent E or D), but must be nothing else; blanks may stand around them.

Exit status: 0 success, 1 a run-time error of the computation ("show",
"next"; "scan" reports it in the row), 2 a usage error.)";

} // namespace

int main(int argc, char** argv)
{
    // A reader that goes away ends the output quietly.
    std::signal(SIGPIPE, SIG_IGN);

    CLI::App app{"Two linear recurrences a(n+1) = r*a(n) + s*a(n-1) modulo M: their cycles and common residues.",
                 "fibmod-cli"};
    app.set_version_flag("--version", std::string("fibmod-cli ") + fibmod::kVersion);
    app.set_help_all_flag("--help-all", "Print the help of every subcommand and exit");
    app.footer(kExamples);
    fibmod::cli::ReportUsageErrorsInOneLine(app);

    fibmod::cli::ShowCommandOptions show;
    fibmod::cli::ScanCommandOptions scan;
    fibmod::cli::NextCommandOptions next;
    fibmod::cli::SetUpShowCommand(app, show);
    fibmod::cli::SetUpScanCommand(app, scan);
    fibmod::cli::SetUpNextCommand(app, next);
    app.require_subcommand(1);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return fibmod::cli::ExitCodeOf(app, error);
    }
    return 0;
}
