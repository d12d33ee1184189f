// SPDX-License-Identifier: MIT
// What a scan row says beyond its numbers.
#include "core/scan_row.h"

#include "core/stepping_goal.h"

namespace fibmod {

std::string ScanRow::residuesText() const
{
    std::string text;
    for (const std::int64_t residue : residues) {
        if (!text.empty()) text.push_back(' ');
        text.append(std::to_string(residue));
    }
    return text;
}

bool HasSingleCommonResidue(const ScanRow& row)
{
    return !row.failed() && IsSteppingGoal(static_cast<double>(row.commonCount()));
}

bool StopsStepping(const ScanRow& row) { return row.failed() || HasSingleCommonResidue(row); }

} // namespace fibmod
