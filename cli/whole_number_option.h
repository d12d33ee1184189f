// SPDX-License-Identifier: MIT
// Validators for integer options and --max-terms.
#pragma once

#include <cstdint>
#include <string>

#include <CLI/CLI.hpp>

#include "core/engine/term_bound.h"

namespace fibmod::cli {

// Checks an integer option's text by ReadWholeNumber and puts it into plain
// digits for the option's own conversion; fails with ReadWholeNumber's reason.
CLI::Validator WholeNumberIn(std::int64_t min, std::int64_t max);

// The same for --max-terms: "none" or a whole number from 1 to kTermBoundMax.
CLI::Validator TermBoundText();

// The bound a text checked by TermBoundText stands for.
TermBound TermBoundOf(const std::string& text);

} // namespace fibmod::cli
