// SPDX-License-Identifier: MIT
// The window's run-time errors 6 and 9 and their messages.
#include "core/engine/run_time_error.h"

namespace fibmod {

std::string RunTimeError::message() const { return "Laufzeitfehler " + std::to_string(number_) + ": " + what(); }

RunTimeError Overflow() { return RunTimeError(6, "Überlauf"); }

RunTimeError SubscriptOutOfRange() { return RunTimeError(9, "Index außerhalb des gültigen Bereichs"); }

} // namespace fibmod
