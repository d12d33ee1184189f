// SPDX-License-Identifier: MIT
// The input texts and their numbers.
#include "core/engine/inputs.h"

#include "core/engine/number_rules.h"

namespace fibmod {

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

} // namespace fibmod
