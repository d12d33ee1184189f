// SPDX-License-Identifier: MIT
// A scan's rows collected at once, for tests that compare whole ranges.
#pragma once

#include <optional>
#include <vector>

#include "core/engine/scan.h"

namespace fibmod {

// Every row of the range at once; nothing when stopped.
template <class InputsOrTexts>
std::optional<std::vector<ScanRow>> Scan(const InputsOrTexts& inputs, ModulusRange range,
                                         const ScanOptions& options = {})
{
    std::vector<ScanRow> rows;
    if (!ScanRows(inputs, range, options, [&rows](ScanRow&& row) { rows.push_back(std::move(row)); }))
        return std::nullopt;
    return rows;
}

} // namespace fibmod
