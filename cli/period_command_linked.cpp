// SPDX-License-Identifier: MIT
// The period command linked into the program.
#include "cli/period_command.h"

namespace fibmod::cli {

const PeriodCommandEntry& PeriodCommand()
{
    static const PeriodCommandEntry entry{&CheckPeriodOptions, &RunPeriodCommand};
    return entry;
}

} // namespace fibmod::cli
