// SPDX-License-Identifier: MIT
// Handing a command's output to the process's streams.
#include "cli/command_result.h"

#include <cerrno>
#include <string_view>

#include <unistd.h>

#include <CLI/CLI.hpp>

namespace fibmod::cli {

namespace {

// Writes all of `text` to `fd`; stops at the first failure, such as a closed
// pipe (EPIPE, with SIGPIPE ignored), as nobody is left to tell.
void WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

} // namespace

void Deliver(const CommandResult& result)
{
    WriteAll(STDOUT_FILENO, result.out);
    WriteAll(STDERR_FILENO, result.err);
    if (result.exitCode != 0) throw CLI::RuntimeError(result.exitCode);
}

} // namespace fibmod::cli
