// SPDX-License-Identifier: MIT
// How a parse that did not end in a command is reported, and its exit code.
#pragma once

#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

namespace fibmod::cli {

// The exit code of a usage error: an unknown option or subcommand, a value
// out of range or not a number, a missing subcommand.
inline constexpr int kUsageError = 2;

// Makes `app` report a failed parse in one line on standard error:
// "fibmod-cli: " and what was wrong, naming the option and the value
// (shortened).
void ReportUsageErrorsInOneLine(CLI::App& app);

// Reports what ended the parse of `app` (help, version, a usage error; a
// command's failure was reported by the command itself) and returns the exit
// code: 0 for help and version, a failed command's own code, kUsageError for
// everything else. A word where the subcommand belongs is reported as an
// unknown subcommand, with the list of subcommands.
int ExitCodeOf(const CLI::App& app, const CLI::ParseError& error);

} // namespace fibmod::cli
