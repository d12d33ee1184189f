// SPDX-License-Identifier: MIT
// What a scan row says beyond its numbers.
#include "core/scan_row.h"

#include "core/run_time_error.h"

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

bool HasSingleCommonResidue(const ScanRow& row) { return !row.failed() && row.commonCount() == 1; }

bool StopsStepping(const ScanRow& row) { return row.failed() || row.commonCount() == 1; }

} // namespace fibmod
