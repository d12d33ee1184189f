// SPDX-License-Identifier: MIT
// The lanes' vector loop loaded from its module on the first walk.
#include "core/engine/lanes/lane_rows.h"

#include "core/engine/program_module.h"

namespace fibmod::lanes {

const LaneRowsEntry& LaneRows()
{
    static const LaneRowsEntry& entry = ProgramModuleEntryAs<LaneRowsEntry>(kLaneRowsModule, kLaneRowsModuleEntry);
    return entry;
}

} // namespace fibmod::lanes
