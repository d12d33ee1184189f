// SPDX-License-Identifier: MIT
// Doubles from and to decimal text, with or without the library's floating from_chars and to_chars.
#pragma once

#include <optional>
#include <string>

namespace fibmod {

// The double nearest to `decimal`, plain digits with an exponent
// ("125e-2"), ties to even; subnormal results included. None when the
// number lies beyond the largest double or rounds to zero. By
// std::from_chars where the library has it for doubles, else by
// NearestDoubleByStrtod.
std::optional<double> NearestDouble(const std::string& decimal);

// Appends `value` (finite) with `precision` significant digits, as printf's
// "%.*g" writes it ("1.5", "1e+20"). By std::to_chars where the library has
// it for doubles, else by GeneralTextByPrintf.
void AppendGeneralText(std::string& out, double value, int precision);

// The same two by the C library, which rounds the same way: the texts have
// no decimal point for a locale to change, and the C locale is the only one
// where the library lacks the others. Declared for the test that holds them
// to the library's where both exist.
std::optional<double> NearestDoubleByStrtod(const std::string& decimal);
std::string GeneralTextByPrintf(double value, int precision);
// AppendGeneralText to an empty text.
std::string GeneralText(double value, int precision);

} // namespace fibmod
