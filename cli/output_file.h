// SPDX-License-Identifier: MIT
// Standard output written whole text by whole text, with every failed write noticed.
#pragma once

#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>

namespace fibmod::cli {

// A write that did not reach the file: `error` is the errno value.
class WriteFailed : public std::runtime_error {
public:
    explicit WriteFailed(int error);
    int error() const { return error_; }
    // True when the reader has gone away (a closed pipe), which ends the
    // output quietly.
    bool readerGone() const;

private:
    int error_;
};

// A command's standard output: every text handed to write() goes to the file
// descriptor at once and in full, so that what was written so far always ends
// where a write ended (a whole row). Safe to use from several threads.
class OutputFile {
public:
    explicit OutputFile(int fd) : fd_(fd) {}

    // Writes all of `text`; WriteFailed when the file takes no more (a full
    // disk, a closed pipe with SIGPIPE ignored). Nothing is written after a
    // failure or after closeForGood().
    void write(std::string_view text);
    // The same, and `closing` replaces the closing text in the same step.
    void write(std::string_view text, std::string closing);

    // The text that closes what was written so far into a whole document
    // (e.g. the end of a JSON array), written by closeForGood().
    void setClosing(std::string closing);

    // Waits for a write under way, writes the closing text and lets no
    // further write through; for a program that ends at once.
    void closeForGood();

private:
    void writeAll(std::string_view text);

    int fd_;
    std::mutex mutex_;
    std::string closing_;
    bool closed_ = false;
};

} // namespace fibmod::cli
