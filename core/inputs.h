// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "core/field_access.h"
#include "core/recurrence.h"

namespace fibmod {

// The texts of the nine input fields.
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
inline constexpr InputTexts kDesignTimeInputs{"-1", "6", "1", "1", "-1", "4", "1", "1", "2"};

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
