// SPDX-License-Identifier: MIT
// The entry of the module fibmod-period.so: the period command.
#include "cli/period_command.h"

extern "C" __attribute__((visibility("default"))) const void* fibmod_period_command()
{
    return &fibmod::cli::PeriodCommandHere();
}
