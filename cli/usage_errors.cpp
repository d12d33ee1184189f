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

// CLI11's words for an option given twice ("--r1: At Most 1 required but
// received 2") in the program's own.
std::string Worded(std::string message)
{
    static constexpr std::string_view kTwice = "At Most 1 required but received ";
    const std::size_t at = message.find(kTwice);
    if (at != std::string::npos) message.replace(at, std::string::npos, "given more than once; give it once");
    return message;
}

} // namespace

void ReportUsageErrorsInOneLine(CLI::App& app)
{
    app.failure_message([](const CLI::App* failed, const CLI::Error& error) { return OneLine(*failed, Worded(error.what())); });
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
