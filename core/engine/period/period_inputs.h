// SPDX-License-Identifier: MIT
// The period engine's inputs as every front end reads them, without FLINT:
// whole numbers of any length as text, moduli 2 … 2^127 − 1 as 128-bit words.
#pragma once

#include <string>
#include <string_view>

namespace fibmod {

// Moduli up to 2^127 − 1, and products of two 64-bit numbers in full (a GCC
// extension).
__extension__ typedef unsigned __int128 PeriodUInt128;

// The largest modulus the period engine takes, 2^127 − 1.
inline constexpr PeriodUInt128 kPeriodModulusMax = (PeriodUInt128{1} << 127) - 1;

// x in decimal digits.
std::string DecimalText(PeriodUInt128 x);

// A whole number of any length as a user types it (WholeNumberDigits:
// digits with an optional sign, blanks around), in its one plain form: no
// '+', no leading zeros, '-' only before a number other than 0 (" -007 " is
// "-7", "-0" is "0"). std::invalid_argument otherwise, its what() saying
// why (NotAWholeNumber): "'2.5' is not a whole number in decimal digits".
std::string ReadWholeNumberText(std::string_view text);

// A modulus as a user types it: ReadWholeNumberText's text, from 2 to
// 2^127 − 1. std::invalid_argument with NotAWholeNumber's or
// OutsidePeriodModuli's message otherwise.
PeriodUInt128 ReadPeriodModulus(std::string_view text);

// The message for a modulus outside 2 … 2^127 − 1 (`M` in plain form), as
// every front end gives it:
// "1 is outside the range 2 to 170141183460469231731687303715884105727".
std::string OutsidePeriodModuli(std::string_view M);

} // namespace fibmod
