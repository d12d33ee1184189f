// SPDX-License-Identifier: MIT
// The input texts read from their fields and written into them.
#include "core/window/input_fields.h"

#include <string>

namespace fibmod {

namespace {

// The field that holds an input.
constexpr FieldId FieldOf(std::string_view InputTexts::*member)
{
    for (const auto& [input, field] : kInputFields)
        if (input == member) return field;
    return kModulusField;
}

} // namespace

bool IsInputField(FieldId field)
{
    for (const auto& entry : kInputFields)
        if (entry.second == field) return true;
    return false;
}

HeldInputTexts ReadInputTexts(FieldAccess& fields)
{
    const auto text = [&fields](std::string_view InputTexts::*member) { return fields.getText(FieldOf(member)); };
    return {.s1 = text(&InputTexts::s1),
            .r1 = text(&InputTexts::r1),
            .first1 = text(&InputTexts::first1),
            .second1 = text(&InputTexts::second1),
            .s2 = text(&InputTexts::s2),
            .r2 = text(&InputTexts::r2),
            .first2 = text(&InputTexts::first2),
            .second2 = text(&InputTexts::second2)};
}

Inputs ReadInputs(FieldAccess& fields) { return ValuesOf(ReadInputTexts(fields).texts()); }

void WriteInputs(FieldAccess& fields, const InputTexts& texts)
{
    for (const auto& [member, field] : kInputFields) fields.setText(field, texts.*member);
}

} // namespace fibmod
