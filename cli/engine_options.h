// SPDX-License-Identifier: MIT
// The options that steer the engine: --max-terms, --threads and --quiet.
#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"
#include "core/engine/term_bound.h"

namespace fibmod::cli {

// How far the engine walks a cycle, and how a scan runs.
struct EngineOptions {
    // "none" or a whole number from 1 to 2^62 (see TermBoundText).
    std::string maxTerms = std::to_string(*kWindowTermBound);
    // Worker threads; 0 takes one per core.
    int threads = 0;
    // No progress line.
    bool quiet = false;
};

// Adds --max-terms to `command`.
void AddMaxTermsOption(CLI::App& command, EngineOptions& options);

// Adds --threads and --quiet to a command that runs on several threads.
void AddThreadsOptions(CLI::App& command, EngineOptions& options);

// Adds --max-terms, --threads and --quiet to a command that scans.
void AddScanOptions(CLI::App& command, EngineOptions& options);

// The bound the options ask for. A usage error (CLI::ValidationError naming
// --max-terms and saying why) when it does not fit the inputs: no bound with
// inputs that are not whole numbers. Inputs that cannot be read at all pass:
// every row then reports that.
TermBound CheckedTermBound(const EngineOptions& options, const InputTexts& texts);

// The scan's options for a command's run: `start` with the bound and the
// threads the options ask for.
ScanOptions ScanOptionsOf(const EngineOptions& options, TermBound maxTerms, ScanOptions start = {});

} // namespace fibmod::cli
