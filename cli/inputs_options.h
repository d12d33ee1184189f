// SPDX-License-Identifier: MIT
// The options for the two sequences' inputs, --r1 … --start2, shared by every command.
#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "core/engine/inputs.h"

namespace fibmod::cli {

// The inputs of both sequences as typed on the command line, each a number
// (see IsEntirelyANumber); the start values as "A,B". They start with the
// window's design-time texts.
struct InputsOptions {
    std::string r1{kDesignTimeInputs.r1};
    std::string s1{kDesignTimeInputs.s1};
    std::string start1 = std::string(kDesignTimeInputs.first1) + "," + std::string(kDesignTimeInputs.second1);
    std::string r2{kDesignTimeInputs.r2};
    std::string s2{kDesignTimeInputs.s2};
    std::string start2 = std::string(kDesignTimeInputs.first2) + "," + std::string(kDesignTimeInputs.second2);
};

// Adds --r1, --s1, --start1, --r2, --s2 and --start2 to `command`, bound to
// `options`; a value that is not a number (or not two numbers A,B for the
// start values) fails the parse, naming the option and the value.
void SetUpInputsOptions(CLI::App& command, InputsOptions& options);

// The texts to type into the window's input fields; `modulus` goes into the
// modulus field. The texts point into `options` and `modulus`.
InputTexts TextsOf(const InputsOptions& options, std::string_view modulus);

} // namespace fibmod::cli
