// SPDX-License-Identifier: MIT
// Whether a command-line value is a number and nothing else.
#include "cli/number_check.h"

#include "core/number_rules.h"

namespace fibmod::cli {

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

std::string NotANumber(std::string_view text) { return "'" + std::string(text) + "' is not a number"; }

std::string NotTwoNumbers(std::string_view text) { return "'" + std::string(text) + "' is not two numbers A,B"; }

} // namespace fibmod::cli
