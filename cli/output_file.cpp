// SPDX-License-Identifier: MIT
// A command's output, written in whole pieces and checked.
#include "cli/output_file.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace fibmod::cli {

WriteFailed::WriteFailed(int error) : std::runtime_error(std::strerror(error)), error_(error) {}

bool WriteFailed::readerGone() const { return error_ == EPIPE; }

void OutputFile::write(std::string_view text)
{
    const std::lock_guard lock(mutex_);
    if (closed_) return;
    writeAll(text);
}

void OutputFile::write(std::string_view text, std::string closing)
{
    const std::lock_guard lock(mutex_);
    if (closed_) return;
    writeAll(text);
    closing_ = std::move(closing);
}

void OutputFile::setClosing(std::string closing)
{
    const std::lock_guard lock(mutex_);
    closing_ = std::move(closing);
}

void OutputFile::closeForGood()
{
    const std::lock_guard lock(mutex_);
    if (closed_) return;
    closed_ = true;
    try {
        writeAll(closing_);
    } catch (const WriteFailed&) {
        // The program ends at once; there is nobody to tell.
    }
}

void OutputFile::writeAll(std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(fd_, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) {
            closed_ = true;
            throw WriteFailed(errno);
        }
        // A short write leaves the rest for the next turn.
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

} // namespace fibmod::cli
