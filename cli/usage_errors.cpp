// SPDX-License-Identifier: MIT
// How a parse that did not end in a command is reported.
#include "cli/usage_errors.h"

#include <string>

namespace fibmod::cli {

void ReportUsageErrorsInOneLine(CLI::App& app)
{
    app.failure_message([](const CLI::App* failed, const CLI::Error& error) {
        return failed->get_name() + ": " + error.what() + "\n";
    });
}

int ExitCodeOf(const CLI::App& app, const CLI::ParseError& error)
{
    const int code = app.exit(error);
    if (code == 0 || dynamic_cast<const CLI::RuntimeError*>(&error) != nullptr) return code;
    return kUsageError;
}

} // namespace fibmod::cli
