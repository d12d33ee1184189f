// SPDX-License-Identifier: MIT
// The two sequences' inputs, shared by every command.
#include "cli/inputs_options.h"

#include <utility>

#include "core/engine/input_rules.h"

namespace fibmod::cli {

namespace {

const std::string kGroup = "Sequences (the window's inputs)";

// The two halves of a start pair the validator let through.
std::pair<std::string_view, std::string_view> Halves(std::string_view pair)
{
    return StartPairHalves(pair).value_or(std::pair<std::string_view, std::string_view>{pair, {}});
}

const CLI::Validator kNumber(
    [](const std::string& value) {
        return IsEntirelyANumber(value) ? std::string() : NotANumber(value);
    },
    "", "number");

const CLI::Validator kStartPair(
    [](const std::string& value) {
        return IsStartPair(value) ? std::string() : NotTwoNumbers(value);
    },
    "", "start pair");

void AddSequence(CLI::App& command, int number, std::string& r, std::string& s, std::string& start)
{
    const std::string n = std::to_string(number);
    command.add_option("--r" + n, r, "r of sequence " + n)
        ->type_name("NUMBER")
        ->check(kNumber)
        ->capture_default_str()
        ->group(kGroup);
    command.add_option("--s" + n, s, "s of sequence " + n)
        ->type_name("NUMBER")
        ->check(kNumber)
        ->capture_default_str()
        ->group(kGroup);
    command.add_option("--start" + n, start, "start values a(0),a(1) of sequence " + n)
        ->type_name("A,B")
        ->check(kStartPair)
        ->capture_default_str()
        ->group(kGroup);
}

} // namespace

void SetUpInputsOptions(CLI::App& command, InputsOptions& options)
{
    AddSequence(command, 1, options.r1, options.s1, options.start1);
    AddSequence(command, 2, options.r2, options.s2, options.start2);
}

InputTexts TextsOf(const InputsOptions& options, std::string_view modulus)
{
    const auto [first1, second1] = Halves(options.start1);
    const auto [first2, second2] = Halves(options.start2);
    return {
        .s1 = options.s1,
        .r1 = options.r1,
        .first1 = first1,
        .second1 = second1,
        .s2 = options.s2,
        .r2 = options.r2,
        .first2 = first2,
        .second2 = second2,
        .modulus = modulus,
    };
}

} // namespace fibmod::cli
