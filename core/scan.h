// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "core/inputs.h"
#include "core/modulus_range.h"

namespace fibmod {

// What the window shows after one modulus is typed into its modulus field,
// the other inputs as given: both cycle lengths and the common residues as
// the summary lists them, or the run-time error it reports instead.
struct ScanRow {
    std::int32_t modulus = 0;
    std::int32_t length1 = 0;
    std::int32_t length2 = 0;
    // Ascending; their number is the common count.
    std::vector<std::int32_t> residues;
    // 0, or the number of the run-time error (6, 9); then only `message`
    // holds more, the window's report ("Laufzeitfehler 9: …").
    int error = 0;
    std::string message;

    std::int32_t commonCount() const { return static_cast<std::int32_t>(residues.size()); }

    friend bool operator==(const ScanRow&, const ScanRow&) = default;
};

// A range of moduli, both ends included.
struct ModulusRange {
    int from = kModulusMin;
    int to = kModulusMax;
};

struct ScanOptions {
    // Worker threads; 0 takes one per core. The rows do not depend on it.
    unsigned threads = 0;
    // When stop is requested, the scan ends early and yields no rows.
    std::stop_token stop;
    // Called with every finished row, in no particular order and possibly
    // from several threads at once.
    std::function<void(const ScanRow&)> onRow;
    // Called on a worker before it takes each modulus; it may block, so that
    // other work goes first. The rows do not depend on it.
    std::function<void()> beforeModulus;
};

// One modulus in kModulusMin … kModulusMax.
ScanRow ScanModulus(const Inputs& inputs, std::int32_t modulus);

// Every modulus of the range (clipped to kModulusMin … kModulusMax), in
// ascending order; nothing when stopped.
std::optional<std::vector<ScanRow>> Scan(const Inputs& inputs, ModulusRange range, const ScanOptions& options = {});

// The same for inputs as the fields' texts. When reading them is itself a
// run-time error, every row carries it, as the window reports it for any
// modulus typed.
std::optional<std::vector<ScanRow>> Scan(const InputTexts& texts, ModulusRange range,
                                         const ScanOptions& options = {});

} // namespace fibmod
