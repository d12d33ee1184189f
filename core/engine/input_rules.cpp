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

// The length of the well-formed UTF-8 character at the start of `text`
// (1 to 4 bytes), or 0 where none starts.
std::size_t Utf8Length(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!IsContinuation(text[i])) return 0;
    return length;
}

// Appends the text as a terminal may show it: control characters (but the
// tab), C1 controls and bytes that are not UTF-8 as \xNN.
void AppendShowable(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    const auto escape = [&](unsigned char c) {
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 15];
    };
    while (!text.empty()) {
        const auto lead = static_cast<unsigned char>(text.front());
        const std::size_t length = Utf8Length(text);
        const bool control = (lead < 0x20 && lead != '\t') || lead == 0x7F ||
                             (length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0);
        if (length == 0 || control) {
            for (std::size_t i = 0; i < std::max<std::size_t>(length, 1); ++i)
                escape(static_cast<unsigned char>(text[i]));
            text.remove_prefix(std::max<std::size_t>(length, 1));
            continue;
        }
        out += text.substr(0, length);
        text.remove_prefix(length);
    }
}

// "'text'" and what is said of it, the text made safe to show (see
// AppendShowable).
std::string Quoted(std::string_view text, std::string_view said)
{
    std::string message;
    message.reserve(text.size() + said.size() + 2);
    message += '\'';
    AppendShowable(message, text);
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
