// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace fibmod::cli {

// The text without the blanks and tabs before and after it.
std::string_view WithoutBlanksAround(std::string_view text);

// True when the whole text is one complete number as the window reads
// numbers (ReadNumber: an optional sign, digits with at most one ".", an
// optional exponent E or D with digits), read to its last character. Blanks
// and tabs may stand before and after it, not inside. A number beyond the
// double range still counts: reading it is the computation's business
// (error 6).
bool IsEntirelyANumber(std::string_view text);

// Why a value is refused, as every interface says it: "'12x' is not a
// number", "'1;2' is not two numbers A,B".
std::string NotANumber(std::string_view text);
std::string NotTwoNumbers(std::string_view text);

} // namespace fibmod::cli
