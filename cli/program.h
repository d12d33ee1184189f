// SPDX-License-Identifier: MIT
// The whole program fibmod-cli as one function, so that a test build can run it with a hook.
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>

namespace fibmod::cli {

// Makes the hook each modulus passes before it is computed, from the
// program's stop request; empty for none.
using BeforeModulusFor = std::function<std::function<void(std::int64_t modulus)>(std::stop_token stop)>;

// Runs fibmod-cli with these arguments and returns its exit status.
int RunProgram(int argc, char** argv, const BeforeModulusFor& beforeModulusFor = {});

} // namespace fibmod::cli
