// SPDX-License-Identifier: MIT
// Typed values checked and read, and the messages that refuse them.
#include "core/engine/input_rules.h"

#include <algorithm>

#include "core/engine/number_rules.h"

namespace fibmod {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value of a sign and decimal digits; none for any other text.
std::optional<double> DecimalValue(std::string_view text)
{
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDigit)) return std::nullopt;
    return ReadNumber(text).value;
}

constexpr std::size_t kLongWord = 40;
constexpr std::size_t kKept = 32;

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string Shortened(std::string_view word)
{
    if (word.size() <= kLongWord) return std::string(word);
    std::size_t keep = kKept;
    while (keep > 0 && IsContinuation(word[keep])) --keep;
    std::string shortened(word.substr(0, keep));
    shortened += "…";
    if (word.back() == '\'') shortened += '\'';
    return shortened;
}

// "'text'" and what is said of it. (Appended piece by piece: g++ 12 at -O3
// warns falsely of an overlapping copy in "'" + std::string(text).)
std::string Quoted(std::string_view text, std::string_view said)
{
    std::string message;
    message.reserve(text.size() + said.size() + 2);
    message += '\'';
    message += text;
    message += '\'';
    message += said;
    return message;
}

} // namespace

std::string_view WithoutBlanksAround(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsEntirelyANumber(std::string_view text)
{
    const std::string_view number = WithoutBlanksAround(text);
    // The window drops blanks, tabs and line feeds inside a number; here
    // they would hide a typing error.
    if (number.find_first_of(" \t\n") != std::string_view::npos) return false;
    const NumberReading reading = ReadNumber(number);
    return reading.complete && reading.used == number.size();
}

std::string NotANumber(std::string_view text) { return Quoted(text, " is not a number"); }

std::string NotTwoNumbers(std::string_view text) { return Quoted(text, " is not two numbers A,B"); }

std::optional<std::pair<std::string_view, std::string_view>> StartPairHalves(std::string_view pair)
{
    const std::size_t comma = pair.find(',');
    if (comma == std::string_view::npos || pair.find(',', comma + 1) != std::string_view::npos) return std::nullopt;
    return std::pair{pair.substr(0, comma), pair.substr(comma + 1)};
}

bool IsStartPair(std::string_view pair)
{
    const auto halves = StartPairHalves(pair);
    return halves && IsEntirelyANumber(halves->first) && IsEntirelyANumber(halves->second);
}

std::string OutsideRange(std::string_view shown, std::int64_t min, std::int64_t max)
{
    return std::string(shown) + " is outside the range " + std::to_string(min) + " to " + std::to_string(max);
}

std::optional<std::string_view> WholeNumberDigits(std::string_view text)
{
    const std::string_view number = WithoutBlanksAround(text);
    std::string_view digits = number;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDigit)) return std::nullopt;
    return number;
}

std::string NotAWholeNumber(std::string_view text)
{
    return Quoted(text, " is not a whole number in decimal digits");
}

WholeNumberReading ReadWholeNumber(std::string_view text, std::int64_t min, std::int64_t max)
{
    const std::string_view digits = WithoutBlanksAround(text);
    const std::optional<double> number = DecimalValue(digits);
    if (!number) return {std::nullopt, NotAWholeNumber(text)};
    if (*number < static_cast<double>(min) || *number > static_cast<double>(max))
        return {std::nullopt, OutsideRange(digits, min, max)};
    return {static_cast<std::int64_t>(*number), {}};
}

TermBoundReading ReadTermBound(std::string_view text)
{
    if (WithoutBlanksAround(text) == kNoTermBoundText) return {std::nullopt, {}};
    WholeNumberReading reading = ReadWholeNumber(text, 1, kTermBoundMax);
    if (!reading.value) return {kWindowTermBound, std::move(reading.problem)};
    return {*reading.value, {}};
}

std::string ShortenedWords(std::string_view message)
{
    std::string out;
    while (!message.empty()) {
        const std::size_t blank = std::min(message.find(' '), message.size());
        out += Shortened(message.substr(0, blank));
        if (blank == message.size()) break;
        out += ' ';
        message.remove_prefix(blank + 1);
    }
    return out;
}

} // namespace fibmod
