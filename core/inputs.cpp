// SPDX-License-Identifier: MIT
// The input texts: read from their fields, written into them, and their numbers.
#include "core/inputs.h"

#include <string>

#include "core/number_rules.h"

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

Inputs ValuesOf(const InputTexts& texts)
{
    Inputs in;
    in.one = {.r = ValueOfText(texts.r1),
              .s = ValueOfText(texts.s1),
              .first = ValueOfText(texts.first1),
              .second = ValueOfText(texts.second1)};
    in.two = {.r = ValueOfText(texts.r2),
              .s = ValueOfText(texts.s2),
              .first = ValueOfText(texts.first2),
              .second = ValueOfText(texts.second2)};
    return in;
}

bool IsInputField(FieldId field)
{
    for (const auto& entry : kInputFields)
        if (entry.second == field) return true;
    return false;
}

InputTexts HeldInputTexts::texts() const
{
    return {.s1 = s1,
            .r1 = r1,
            .first1 = first1,
            .second1 = second1,
            .s2 = s2,
            .r2 = r2,
            .first2 = first2,
            .second2 = second2,
            .modulus = {}};
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
