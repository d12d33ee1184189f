// SPDX-License-Identifier: MIT
// The portable period engine's rows in decimal text.
#include "core/engine/period/word_period_rows.h"

namespace fibmod {

PeriodRowText RowText(const WordModulusPeriods& row)
{
    PeriodRowText text;
    text.modulus = std::to_string(row.modulus);
    for (std::size_t i = 0; i < 2; ++i) {
        text.preperiod[i] = std::to_string(row.periods.at(i).preperiod);
        text.length[i] = DecimalText(row.periods.at(i).length);
    }
    text.factors.reserve(row.factors.size());
    for (const WordPrimePower& factor : row.factors) text.factors.push_back({std::to_string(factor.prime), factor.exponent});
    return text;
}

} // namespace fibmod
