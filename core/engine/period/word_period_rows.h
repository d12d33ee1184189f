// SPDX-License-Identifier: MIT
// The portable period engine's rows as the period writers take them.
#pragma once

#include "core/engine/period/period_rows.h"
#include "core/engine/period/word_period.h"

namespace fibmod {

// The row of two sequences' periods as text (exactly two sequences).
PeriodRowText RowText(const WordModulusPeriods& row);

} // namespace fibmod
