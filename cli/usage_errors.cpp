// SPDX-License-Identifier: MIT
// How a parse that did not end in a command is reported.
#include "cli/usage_errors.h"

#include <iostream>
#include <string>

#include "core/engine/input_rules.h"

namespace fibmod::cli {

namespace {

std::string OneLine(const CLI::App& app, std::string_view message)
{
    return app.get_name() + ": " + ShortenedWords(message) + "\n";
}

} // namespace

void ReportUsageErrorsInOneLine(CLI::App& app)
{
    app.failure_message([](const CLI::App* failed, const CLI::Error& error) { return OneLine(*failed, error.what()); });
}

int ExitCodeOf(const CLI::App& app, const CLI::ParseError& error)
{
    const std::vector<std::string> left = app.remaining();
    if (app.get_subcommands().empty() && !left.empty() && dynamic_cast<const CLI::RequiredError*>(&error)) {
        std::string names;
        for (const CLI::App* command : app.get_subcommands({}))
            names += (names.empty() ? "" : ", ") + command->get_name();
        std::cerr << OneLine(app, "unknown subcommand '" + left.front() + "'; the subcommands are " + names);
        return kUsageError;
    }
    const int code = app.exit(error);
    if (code == 0 || dynamic_cast<const CLI::RuntimeError*>(&error) != nullptr) return code;
    return kUsageError;
}

} // namespace fibmod::cli
