// SPDX-License-Identifier: MIT
// The window's event chain: what a modulus change, a scroll and the stepping button run.
#include "core/window/event_chain.h"

#include <cstdint>

#include "core/engine/modulus_range.h"
#include "core/engine/number_rules.h"
#include "core/engine/stepping_goal.h"
#include "core/window/cycles.h"
#include "core/window/field_roles.h"

namespace fibmod {

void ModulusChanged(RunState& state, FieldAccess& fields)
{
    ResetAndTakeOver(state, fields);
    ShowCycles(state, fields);
}

void ScrollChanged(FieldAccess& fields) { fields.setText(kModulusField, IntegerText(fields.getScrollValue())); }

void StepToNextStop(RunState& state, FieldAccess& fields)
{
    for (;;) {
        if (fields.getScrollValue() >= kModulusMax) {
            fields.showMessage(kModulusLimitMessage);
            return;
        }
        fields.setScrollValue(static_cast<std::int16_t>(fields.getScrollValue() + 1));
        // A "cls" during the step leaves no count of this modulus to read.
        if (!CountIsCurrent(state)) return;
        if (IsSteppingGoal(ValueOfText(fields.getText(kCommonCountField)))) return;
    }
}

} // namespace fibmod
