// SPDX-License-Identifier: MIT
// The options that steer the engine, shared by show, scan and next.
#include "cli/engine_options.h"

#include <string>
#include <utility>

#include "cli/whole_number_option.h"
#include "core/engine/modulus_row.h"
#include "core/engine/term_bound.h"
#include "core/engine/worker_threads.h"

namespace fibmod::cli {

namespace {

const std::string kGroup = "Engine";

} // namespace

void AddMaxTermsOption(CLI::App& command, EngineOptions& options)
{
    command
        .add_option("--max-terms", options.maxTerms,
                    "the most terms a cycle may have (Laufzeitfehler 9 past it), from 1 to 2^62, or none: every "
                    "cycle is walked to its end (whole-number inputs only); the window's bound is " +
                        std::to_string(*kWindowTermBound))
        ->type_name("N|none")
        ->transform(TermBoundText())
        ->capture_default_str()
        ->group(kGroup);
}

void AddScanOptions(CLI::App& command, EngineOptions& options)
{
    AddMaxTermsOption(command, options);
    AddThreadsOptions(command, options);
}

void AddThreadsOptions(CLI::App& command, EngineOptions& options)
{
    command.add_option("--threads", options.threads, "worker threads; 0 takes one per core")
        ->type_name("N")
        ->transform(WholeNumberIn(0, kWorkerThreadsMax))
        ->capture_default_str()
        ->group(kGroup);
    command.add_flag("-q,--quiet", options.quiet, "no progress line on standard error (shown only on a terminal)")
        ->group(kGroup);
}

TermBound CheckedTermBound(const EngineOptions& options, const InputTexts& texts)
{
    const TermBound bound = TermBoundOf(options.maxTerms);
    const std::string problem = BoundProblem(texts, bound);
    if (!problem.empty()) throw CLI::ValidationError("--max-terms", options.maxTerms + ": " + problem);
    return bound;
}

ScanOptions ScanOptionsOf(const EngineOptions& options, TermBound maxTerms, ScanOptions start)
{
    ScanOptions scan = std::move(start);
    scan.maxTerms = maxTerms;
    scan.threads = static_cast<unsigned>(options.threads);
    return scan;
}

} // namespace fibmod::cli
