// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "core/field_access.h"
#include "core/field_roles.h"
#include "core/recurrence.h"

namespace fibmod {

// The texts of the nine input fields. Fill it with designated initializers:
// its order (s before r) is not Sequence's (r before s).
struct InputTexts {
    std::string_view s1;
    std::string_view r1;
    std::string_view first1;
    std::string_view second1;
    std::string_view s2;
    std::string_view r2;
    std::string_view first2;
    std::string_view second2;
    std::string_view modulus;
};

// What the window shows when it opens.
inline constexpr InputTexts kDesignTimeInputs{.s1 = "-1",
                                              .r1 = "6",
                                              .first1 = "1",
                                              .second1 = "1",
                                              .s2 = "-1",
                                              .r2 = "4",
                                              .first2 = "1",
                                              .second2 = "1",
                                              .modulus = "2"};

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

// The two recurrences as the window's fields define them: sequence 1 in the
// left-hand column, sequence 2 beside it.
struct Inputs {
    Sequence one;
    Sequence two;
};

// The eight texts of the two recurrences held by value, so that they may be
// used after the fields changed, on another thread too.
struct HeldInputTexts {
    std::string s1, r1, first1, second1;
    std::string s2, r2, first2, second2;

    // Views into this object, valid while it lives unchanged; the modulus is empty.
    InputTexts texts() const;

    friend bool operator==(const HeldInputTexts&, const HeldInputTexts&) = default;
};

// True for the nine input fields: both columns' coefficients and start
// values, and the modulus.
bool IsInputField(FieldId field);

// The texts the fields of the two recurrences hold now. Reads only.
HeldInputTexts ReadInputTexts(FieldAccess& fields);

// The numbers of the eight texts of the two recurrences, read with the
// window's number rules. Error 6 for a number beyond the double range.
Inputs ValuesOf(const InputTexts& texts);

// The same for the texts the fields hold now.
Inputs ReadInputs(FieldAccess& fields);

// Writes the nine texts into their fields, each write as a user's edit; the
// modulus last, so that its change procedure sees the others.
void WriteInputs(FieldAccess& fields, const InputTexts& texts);

} // namespace fibmod
