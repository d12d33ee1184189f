// SPDX-License-Identifier: MIT
// How the window reads a number from a text, and how it writes one.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fibmod {

// How the leading number of a text reads.
struct NumberReading {
    // The number, rounded to the nearest double; 0 when there is none, an
    // infinity when it lies beyond the double range.
    double value = 0;
    // How many characters of the text the number takes, the blanks before
    // it and any blanks dropped inside it included, those after it not.
    std::size_t used = 0;
    // True when the characters used form a whole number: at least one
    // digit, and digits after an exponent mark if there is one.
    bool complete = false;
};

// Reads the leading number of a text by the rules of ValueOfText, without
// raising error 6.
NumberReading ReadNumber(std::string_view text);

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
