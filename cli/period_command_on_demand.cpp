// SPDX-License-Identifier: MIT
// The period command loaded from its module when "period" is given.
#include "cli/period_command.h"

#include "core/engine/program_module.h"

namespace fibmod::cli {

const PeriodCommandEntry& PeriodCommand()
{
    static const PeriodCommandEntry& entry =
        ProgramModuleEntryAs<PeriodCommandEntry>(kPeriodCommandModule, kPeriodCommandModuleEntry);
    return entry;
}

} // namespace fibmod::cli
