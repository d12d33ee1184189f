// SPDX-License-Identifier: MIT
// Which field holds which input and which result: the one map of the window's fields.
#pragma once

#include "core/window/field_access.h"

namespace fibmod {

// The fields of one sequence's column: its coefficients and start values,
// the cycle's listing and its length.
struct SequenceFieldIds {
    FieldId s;
    FieldId r;
    FieldId first;
    FieldId second;
    FieldId listing;
    FieldId length;
};

// Sequence 1 in the left-hand column, sequence 2 beside it.
inline constexpr SequenceFieldIds kSequence1Fields{
    .s = Text4(0), .r = Text4(1), .first = Text1(4), .second = Text1(5), .listing = Text1(1), .length = Text3(0)};
inline constexpr SequenceFieldIds kSequence2Fields{
    .s = Text4(2), .r = Text4(3), .first = Text1(2), .second = Text1(3), .listing = Text1(0), .length = Text3(1)};

// The modulus M, typed or set by the scroll bar.
inline constexpr FieldId kModulusField = Text2;
// The common members with their positions, then the summary of the common residues.
inline constexpr FieldId kCommonMembersField = Text1(6);
// The number of common residues.
inline constexpr FieldId kCommonCountField = Text3(2);

} // namespace fibmod
