// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace fibmod::cli {

// True when the whole text is one number as the window reads numbers: an
// optional sign, digits with at most one "." (at least one digit in all), and
// an optional exponent: E or D in either case, an optional sign and at least
// one digit. Blanks and tabs may stand before and after it, not inside.
// A number beyond the double range still counts: reading it is the
// computation's business (error 6).
bool IsEntirelyANumber(std::string_view text);

} // namespace fibmod::cli
