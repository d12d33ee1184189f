// SPDX-License-Identifier: MIT
// How every front end reads a typed value: numbers, start pairs, whole numbers, term bounds, and its messages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/engine/term_bound.h"

namespace fibmod {

// The text without the blanks and tabs before and after it.
std::string_view WithoutBlanksAround(std::string_view text);

// True when the whole text is one complete number as the window reads
// numbers (ReadNumber: an optional sign, digits with at most one ".", an
// optional exponent E or D with digits), read to its last character. Blanks
// and tabs may stand before and after it, not inside. A number beyond the
// double range still counts: reading it is the computation's business
// (error 6).
bool IsEntirelyANumber(std::string_view text);

// Why a value is refused, as every front end says it: "'12x' is not a
// number", "'1;2' is not two numbers A,B".
std::string NotANumber(std::string_view text);
std::string NotTwoNumbers(std::string_view text);

// The two halves of a start pair "A,B": none unless the text has exactly
// one comma. The halves are not checked.
std::optional<std::pair<std::string_view, std::string_view>> StartPairHalves(std::string_view pair);

// True for "A,B" with exactly one comma and a number on either side.
bool IsStartPair(std::string_view pair);

// "N is outside the range MIN to MAX", N as the user gave it.
std::string OutsideRange(std::string_view shown, std::int64_t min, std::int64_t max);

// A whole number of any length typed as decimal digits with an optional
// sign, blanks and tabs around them: its sign and digits, without the
// blanks; none for any other text ("1e3", "3.0", "0x10", ""). The period
// engine reads such numbers exactly, whatever their size.
std::optional<std::string_view> WholeNumberDigits(std::string_view text);

// Why a value is not a whole number: "'1e3' is not a whole number in
// decimal digits".
std::string NotAWholeNumber(std::string_view text);

// A whole number typed as decimal digits with an optional sign, blanks and
// tabs around them ("010" is 10), read as the window reads numbers (so a
// whole number above 2^53 is the double that gives), from `min` to `max`.
// Either the number or why not: "'…' is not a whole number in decimal
// digits" ("1e3", "3.0", "0x10", "") or OutsideRange.
struct WholeNumberReading {
    std::optional<std::int64_t> value;
    std::string problem;
};
WholeNumberReading ReadWholeNumber(std::string_view text, std::int64_t min, std::int64_t max);

// The text of "no term bound".
inline constexpr std::string_view kNoTermBoundText = "none";

// A term bound typed as "none" or as a whole number from 1 to
// kTermBoundMax (see ReadWholeNumber). Either the bound or why not.
struct TermBoundReading {
    TermBound bound;
    std::string problem;
};
TermBoundReading ReadTermBound(std::string_view text);

// The message with every word longer than 40 bytes cut to its first 32
// bytes (whole UTF-8 characters) and "…", a closing quote kept, so that a
// huge value does not fill the screen.
std::string ShortenedWords(std::string_view message);

} // namespace fibmod
