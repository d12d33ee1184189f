// SPDX-License-Identifier: MIT
// How a parse that did not end in a command is reported.
#include "cli/usage_errors.h"

#include <iostream>
#include <string>

namespace fibmod::cli {

namespace {

constexpr std::size_t kLongWord = 40;
constexpr std::size_t kKept = 32;

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string Shortened(std::string_view word)
{
    if (word.size() <= kLongWord) return std::string(word);
    std::size_t keep = kKept;
    while (keep > 0 && IsContinuation(word[keep])) --keep;
    std::string shortened(word.substr(0, keep));
    shortened += "…";
    if (word.back() == '\'') shortened += '\'';
    return shortened;
}

std::string OneLine(const CLI::App& app, std::string_view message)
{
    return app.get_name() + ": " + ShortenedWords(message) + "\n";
}

} // namespace

std::string ShortenedWords(std::string_view message)
{
    std::string out;
    while (!message.empty()) {
        const std::size_t blank = std::min(message.find(' '), message.size());
        out += Shortened(message.substr(0, blank));
        if (blank == message.size()) break;
        out += ' ';
        message.remove_prefix(blank + 1);
    }
    return out;
}

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
