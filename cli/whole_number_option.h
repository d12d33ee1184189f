// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include <CLI/CLI.hpp>

#include "core/term_bound.h"

namespace fibmod::cli {

// Checks an integer option's text and puts it into plain digits for the
// option's own conversion: decimal digits with an optional sign, blanks and
// tabs allowed around them ("010" is 10). The number is read as the window
// reads numbers, so a whole number above 2^53 is the double that gives. Fails
// with "'…' is not a whole number in decimal digits" ("1e3", "3.0", "0x10",
// "") or "… is outside the range min to max".
CLI::Validator WholeNumberIn(std::int64_t min, std::int64_t max);

// The same for --max-terms: "none" or a whole number from 1 to kTermBoundMax.
CLI::Validator TermBoundText();

// The bound a text checked by TermBoundText stands for.
TermBound TermBoundOf(const std::string& text);

} // namespace fibmod::cli
