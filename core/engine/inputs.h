// SPDX-License-Identifier: MIT
// The inputs of the two recurrences as texts and as numbers, and the window's design-time values.
#pragma once

#include <string>
#include <string_view>

#include "core/engine/recurrence.h"

namespace fibmod {

// The texts of the nine inputs. Fill it with designated initializers: its
// order (s before r) is not Sequence's (r before s).
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

// What the window shows when it opens, and every front end's default.
inline constexpr InputTexts kDesignTimeInputs{.s1 = "-1",
                                              .r1 = "6",
                                              .first1 = "1",
                                              .second1 = "1",
                                              .s2 = "-1",
                                              .r2 = "4",
                                              .first2 = "1",
                                              .second2 = "1",
                                              .modulus = "2"};

// The two recurrences: sequence 1 in the window's left-hand column,
// sequence 2 beside it.
struct Inputs {
    Sequence one;
    Sequence two;
};

// The eight texts of the two recurrences held by value, so that they may be
// used after their source changed, on another thread too.
struct HeldInputTexts {
    std::string s1, r1, first1, second1;
    std::string s2, r2, first2, second2;

    // Views into this object, valid while it lives unchanged; the modulus is empty.
    InputTexts texts() const;

    friend bool operator==(const HeldInputTexts&, const HeldInputTexts&) = default;
};

// The numbers of the eight texts of the two recurrences, read with the
// window's number rules. Error 6 for a number beyond the double range.
Inputs ValuesOf(const InputTexts& texts);

} // namespace fibmod
