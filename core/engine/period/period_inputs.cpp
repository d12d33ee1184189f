// SPDX-License-Identifier: MIT
// Reading the period engine's inputs: whole numbers as plain text, moduli as words.
#include "core/engine/period/period_inputs.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "core/engine/input_rules.h"

namespace fibmod {

std::string DecimalText(PeriodUInt128 x)
{
    std::string digits;
    do {
        digits.push_back(static_cast<char>('0' + static_cast<int>(x % 10)));
        x /= 10;
    } while (x != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::string ReadWholeNumberText(std::string_view text)
{
    const std::optional<std::string_view> number = WholeNumberDigits(text);
    if (!number) throw std::invalid_argument(NotAWholeNumber(text));
    std::string_view digits = *number;
    const bool negative = digits.front() == '-';
    if (digits.front() == '+' || digits.front() == '-') digits.remove_prefix(1);
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size() - 1));
    return (negative && digits != "0" ? "-" : "") + std::string(digits);
}

PeriodUInt128 ReadPeriodModulus(std::string_view text)
{
    const std::string M = ReadWholeNumberText(text);
    if (M.front() == '-') throw std::invalid_argument(OutsidePeriodModuli(M));
    PeriodUInt128 value = 0;
    for (const char digit : M) {
        if (value > (kPeriodModulusMax - (digit - '0')) / 10) throw std::invalid_argument(OutsidePeriodModuli(M));
        value = value * 10 + static_cast<unsigned>(digit - '0');
    }
    if (value < 2) throw std::invalid_argument(OutsidePeriodModuli(M));
    return value;
}

std::string OutsidePeriodModuli(std::string_view M)
{
    return std::string(M) + " is outside the range 2 to " + DecimalText(kPeriodModulusMax);
}

} // namespace fibmod
