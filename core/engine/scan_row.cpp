// SPDX-License-Identifier: MIT
// What a scan row says beyond its numbers.
#include "core/engine/scan_row.h"

#include "core/engine/row_columns.h"
#include "core/engine/run_time_error.h"
#include "core/engine/stepping_goal.h"

namespace fibmod {

std::string ScanRow::residuesText() const { return CellText(*this, RowColumn::CommonResidues); }

ScanRow ErrorRow(std::int64_t modulus, const RunTimeError& error)
{
    ScanRow row;
    row.modulus = modulus;
    row.failure = RowFailure{RowFailure::Kind::RunTimeError, error.number(), error.message()};
    return row;
}

ScanRow NeverRecursRow(std::int64_t modulus, int sequence, std::int64_t tail, std::int64_t cycle)
{
    ScanRow row;
    row.modulus = modulus;
    row.failure = RowFailure{RowFailure::Kind::NeverRecurs, 0,
                             "Folge " + std::to_string(sequence) + ": Startpaar kehrt nicht wieder (Vorlauf " +
                                 std::to_string(tail) + ", Zyklus " + std::to_string(cycle) + ")"};
    return row;
}

bool HasSingleCommonResidue(const ScanRow& row)
{
    return !row.failed() && IsSteppingGoal(static_cast<double>(row.commonCount()));
}

bool StopsStepping(const ScanRow& row) { return row.failed() || HasSingleCommonResidue(row); }

} // namespace fibmod
