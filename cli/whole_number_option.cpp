// SPDX-License-Identifier: MIT
// Integer options: decimal digits only, read as the window reads numbers.
#include "cli/whole_number_option.h"

#include <algorithm>
#include <optional>

#include "cli/number_check.h"
#include "core/number_rules.h"

namespace fibmod::cli {

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

// Checks `value` and puts it into plain digits; the reason it fails, or
// the empty text.
std::string Whole(std::string& value, std::int64_t min, std::int64_t max)
{
    const std::string_view text = WithoutBlanksAround(value);
    const std::optional<double> number = DecimalValue(text);
    if (!number) return "'" + value + "' is not a whole number in decimal digits";
    if (*number < static_cast<double>(min) || *number > static_cast<double>(max))
        return std::string(text) + " is outside the range " + std::to_string(min) + " to " + std::to_string(max);
    value = std::to_string(static_cast<std::int64_t>(*number));
    return {};
}

constexpr std::string_view kNone = "none";

} // namespace

CLI::Validator WholeNumberIn(std::int64_t min, std::int64_t max)
{
    return CLI::Validator([min, max](std::string& value) { return Whole(value, min, max); }, "", "whole number");
}

CLI::Validator TermBoundText()
{
    return CLI::Validator(
        [](std::string& value) {
            if (WithoutBlanksAround(value) == kNone) {
                value = kNone;
                return std::string();
            }
            return Whole(value, 1, kTermBoundMax);
        },
        "", "term bound");
}

TermBound TermBoundOf(const std::string& text)
{
    if (text == kNone) return std::nullopt;
    return std::stoll(text);
}

} // namespace fibmod::cli
