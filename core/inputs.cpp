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

} // namespace

Inputs ValuesOf(const InputTexts& texts)
{
    Inputs in;
    in.one = {ValueOfText(texts.r1), ValueOfText(texts.s1), ValueOfText(texts.first1), ValueOfText(texts.second1)};
    in.two = {ValueOfText(texts.r2), ValueOfText(texts.s2), ValueOfText(texts.first2), ValueOfText(texts.second2)};
    return in;
}

Inputs ReadInputs(FieldAccess& fields)
{
    std::array<std::string, kInputFields.size()> kept;
    InputTexts texts;
    for (std::size_t k = 0; k < kInputFields.size(); ++k) {
        const auto& [member, field] = kInputFields[k];
        kept[k] = fields.getText(field);
        texts.*member = kept[k];
    }
    return ValuesOf(texts);
}

void WriteInputs(FieldAccess& fields, const InputTexts& texts)
{
    for (const auto& [member, field] : kInputFields) fields.setText(field, texts.*member);
}

} // namespace fibmod
