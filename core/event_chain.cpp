// SPDX-License-Identifier: MIT
// The window's event chain: what a modulus change, a scroll and the stepping button run.
#include "core/event_chain.h"

#include <cstdint>

#include "core/cycles.h"
#include "core/field_roles.h"
#include "core/modulus_range.h"
#include "core/number_rules.h"
#include "core/stepping_goal.h"

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
