// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace fibmod {

// The leading number of a text. Blanks, tabs and line feeds are dropped
// wherever they stand; then an optional sign, digits with at most one "."
// (whatever the locale) and an optional exponent (E or D, either case).
// Reading stops at the first character that does not fit; no number gives 0.
// A number beyond the double range is error 6.
double ValueOfText(std::string_view text);

// A number as the listings show it: a blank before a number that is not
// negative, "-" before a negative one; whole numbers below 10^15 in plain
// digits, others in the shortest form with at most 15 significant digits.
std::string NumberText(double x);

// A counter as plain digits, "-" before a negative one, no blank.
std::string IntegerText(std::int32_t n);

// Raises error 6; out of line, so that the checks below stay small.
[[noreturn]] void ThrowOverflow();

// `x` itself, or error 6 when it lies beyond the double range.
inline double Finite(double x)
{
    if (!std::isfinite(x)) ThrowOverflow();
    return x;
}

// x − M·floor(x / M), every step rounded to double. Error 6 when the
// product or the difference leaves the double range.
inline double ReduceMod(double x, double M)
{
    const double quotient = x / M;
    const double whole = std::floor(quotient);
    const double product = Finite(M * whole);
    return Finite(x - product);
}

} // namespace fibmod
