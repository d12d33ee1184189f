// SPDX-License-Identifier: MIT
// Integer options and --max-terms, read by the engine's rules.
#include "cli/whole_number_option.h"

#include "core/engine/input_rules.h"

namespace fibmod::cli {

CLI::Validator WholeNumberIn(std::int64_t min, std::int64_t max)
{
    return CLI::Validator(
        [min, max](std::string& value) {
            const WholeNumberReading reading = ReadWholeNumber(value, min, max);
            if (reading.value) value = std::to_string(*reading.value);
            return reading.problem;
        },
        "", "whole number");
}

CLI::Validator TermBoundText()
{
    return CLI::Validator(
        [](std::string& value) {
            const TermBoundReading reading = ReadTermBound(value);
            if (reading.problem.empty())
                value = reading.bound ? std::to_string(*reading.bound) : std::string(kNoTermBoundText);
            return reading.problem;
        },
        "", "term bound");
}

TermBound TermBoundOf(const std::string& text) { return ReadTermBound(text).bound; }

} // namespace fibmod::cli
