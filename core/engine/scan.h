// SPDX-License-Identifier: MIT
// The scan of a range of moduli on worker threads, its rows streamed in ascending order, and the stepping's search.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/engine/inputs.h"
#include "core/engine/modulus_range.h"
#include "core/engine/modulus_row.h"
#include "core/engine/scan_row.h"
#include "core/engine/stop_signal.h"
#include "core/engine/term_bound.h"

namespace fibmod {

struct ScanOptions {
    // The most terms a cycle may have (error 9 past it); none walks every
    // cycle to its end, which needs inputs that are whole numbers.
    TermBound maxTerms = kWindowTermBound;
    // False: the rows carry only the common count, not the residues (see
    // ScanRow::unlistedCount), and the scan never lists them: the count is
    // taken from the flag tables at once.
    bool residues = true;
    // Worker threads; 0 takes one per core. The rows do not depend on it.
    unsigned threads = 0;
    // When stop is requested, the scan ends early: rows already handed on
    // stay handed on, no further row follows.
    StopToken stop;
    // Called on a worker before it begins a modulus, once the calling thread
    // is woken for the rows it finished; it may block, so that other work
    // goes first (or a test holds the scan). The rows do not depend on it.
    std::function<void(std::int64_t modulus)> beforeModulus;
};

// Receives the rows of a scan, one at a time, in ascending modulus order.
using RowSink = std::function<void(ScanRow&& row)>;

// Every modulus of the range (clipped to kModulusMin … kEngineModulusMax),
// handed to `sink` in ascending order on the calling thread as soon as it
// and every row before it are done; the workers run at most a bounded
// distance ahead, so memory stays bounded however long the range. Returns
// false when stopped. An exception from the sink or a worker stops the scan
// and is raised again here once every worker has ended.
// std::invalid_argument when !BoundFits(inputs, options.maxTerms).
bool ScanRows(const Inputs& inputs, ModulusRange range, const ScanOptions& options, const RowSink& sink);

// The same for inputs as the fields' texts. When reading them is itself a
// run-time error, every row carries it, as the window reports it for any
// modulus typed.
bool ScanRows(const InputTexts& texts, ModulusRange range, const ScanOptions& options, const RowSink& sink);

// Where "Nächster: Nur Rest 1 gemeinsam" pressed at `modulus` stops: the
// first row above it, up to `limit`, for which StopsStepping holds. None when
// no modulus up to `limit` stops it (or when stopped).
std::optional<ScanRow> NextStop(const InputTexts& texts, std::int64_t modulus, std::int64_t limit,
                                const ScanOptions& options = {});

} // namespace fibmod
