// SPDX-License-Identifier: MIT
// The period command linked into the program.
#include "cli/period_command.h"

namespace fibmod::cli {

const PeriodCommandEntry& PeriodCommand() { return PeriodCommandHere(); }

} // namespace fibmod::cli
