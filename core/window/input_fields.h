// SPDX-License-Identifier: MIT
// Which field holds which input, and the inputs read from and written into the fields.
#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "core/engine/inputs.h"
#include "core/window/field_access.h"
#include "core/window/field_roles.h"

namespace fibmod {

// Every input text and the field that holds it, the modulus last.
inline constexpr std::array<std::pair<std::string_view InputTexts::*, FieldId>, 9> kInputFields{{
    {&InputTexts::s1, kSequence1Fields.s},
    {&InputTexts::r1, kSequence1Fields.r},
    {&InputTexts::first1, kSequence1Fields.first},
    {&InputTexts::second1, kSequence1Fields.second},
    {&InputTexts::s2, kSequence2Fields.s},
    {&InputTexts::r2, kSequence2Fields.r},
    {&InputTexts::first2, kSequence2Fields.first},
    {&InputTexts::second2, kSequence2Fields.second},
    {&InputTexts::modulus, kModulusField},
}};

// The text a field shows when the window opens: its design-time input, or
// the empty text for a result field.
constexpr std::string_view DesignTimeText(FieldId field)
{
    for (const auto& [member, input] : kInputFields)
        if (input == field) return kDesignTimeInputs.*member;
    return {};
}

// True for the nine input fields: both columns' coefficients and start
// values, and the modulus.
bool IsInputField(FieldId field);

// The texts the fields of the two recurrences hold now. Reads only.
HeldInputTexts ReadInputTexts(FieldAccess& fields);

// The numbers of the texts the fields hold now (see ValuesOf).
Inputs ReadInputs(FieldAccess& fields);

// Writes the nine texts into their fields, each write as a user's edit; the
// modulus last, so that its change procedure sees the others.
void WriteInputs(FieldAccess& fields, const InputTexts& texts);

} // namespace fibmod
