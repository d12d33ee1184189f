// SPDX-License-Identifier: MIT
// One modulus with its listings, as the window shows it where it reaches and in its formats beyond.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/engine/inputs.h"
#include "core/engine/recurrence.h"
#include "core/engine/scan_row.h"
#include "core/engine/term_bound.h"

namespace fibmod {

// What the window shows for one modulus, past its bounds too.
struct ShownModulus {
    // The lengths and common residues, or why there are none.
    ScanRow row;
    // With listings: the terms a(2), a(3), … of each cycle, and every equal
    // pair of terms, ordered as the window lists them.
    std::vector<double> terms1;
    std::vector<double> terms2;
    std::vector<CommonMember> members;
    // The window's texts, every line ended by CR LF: the listings of
    // sequence 1 and 2 (empty without listings), the common members (left
    // out without listings) followed by the summary, and the three result
    // fields. Where the window reaches (M <= 2000 with its bound) they are the
    // fields' own texts, also those a run-time error leaves behind.
    std::string listing1;
    std::string listing2;
    std::string common;
    std::string length1;
    std::string length2;
    std::string count;
};

// Computes what the window shows after `modulus` (kModulusMin …
// kEngineModulusMax) is typed, with the other inputs as `texts` give them.
// A run-time error or a start pair that never comes back is in row.failure.
// std::invalid_argument when the bound does not fit the inputs (BoundFits).
// Without listings memory grows with M only; with them, with the cycles.
ShownModulus ShowModulus(const InputTexts& texts, std::int64_t modulus, TermBound maxTerms = kWindowTermBound,
                         bool listings = true);

} // namespace fibmod
