// SPDX-License-Identifier: MIT
// Which field holds which input.
#include "core/inputs.h"

#include <array>
#include <string>
#include <utility>

#include "core/number_rules.h"

namespace fibmod {

namespace {

// Every input text and its field, the modulus last.
constexpr std::array<std::pair<std::string_view InputTexts::*, FieldId>, 9> kInputFields{{
    {&InputTexts::s1, Text4(0)},
    {&InputTexts::r1, Text4(1)},
    {&InputTexts::first1, Text1(4)},
    {&InputTexts::second1, Text1(5)},
    {&InputTexts::s2, Text4(2)},
    {&InputTexts::r2, Text4(3)},
    {&InputTexts::first2, Text1(2)},
    {&InputTexts::second2, Text1(3)},
    {&InputTexts::modulus, Text2},
}};

// The field that holds an input.
constexpr FieldId FieldOf(std::string_view InputTexts::*member)
{
    for (const auto& [input, field] : kInputFields)
        if (input == member) return field;
    return Text2;
}

} // namespace

Inputs ValuesOf(const InputTexts& texts)
{
    Inputs in;
    in.one = {ValueOfText(texts.r1), ValueOfText(texts.s1), ValueOfText(texts.first1), ValueOfText(texts.second1)};
    in.two = {ValueOfText(texts.r2), ValueOfText(texts.s2), ValueOfText(texts.first2), ValueOfText(texts.second2)};
    return in;
}

bool IsInputField(FieldId field)
{
    for (const auto& entry : kInputFields)
        if (entry.second == field) return true;
    return false;
}

InputTexts HeldInputTexts::texts() const { return {s1, r1, first1, second1, s2, r2, first2, second2, {}}; }

HeldInputTexts ReadInputTexts(FieldAccess& fields)
{
    const auto text = [&fields](std::string_view InputTexts::*member) { return fields.getText(FieldOf(member)); };
    return {text(&InputTexts::s1), text(&InputTexts::r1), text(&InputTexts::first1), text(&InputTexts::second1),
            text(&InputTexts::s2), text(&InputTexts::r2), text(&InputTexts::first2), text(&InputTexts::second2)};
}

Inputs ReadInputs(FieldAccess& fields) { return ValuesOf(ReadInputTexts(fields).texts()); }

void WriteInputs(FieldAccess& fields, const InputTexts& texts)
{
    for (const auto& [member, field] : kInputFields) fields.setText(field, texts.*member);
}

} // namespace fibmod
