// SPDX-License-Identifier: MIT
// The window's rules for reading and writing numbers.
#include "core/engine/number_rules.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "core/engine/double_text.h"
#include "core/engine/run_time_error.h"

namespace fibmod {

namespace {

bool IsDropped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Walks a text with blanks, tabs and line feeds skipped, remembering where
// the last character taken ended.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) { skip(); }

    char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    void next()
    {
        ++pos_;
        used_ = pos_;
        skip();
    }
    std::size_t used() const { return used_; }

private:
    void skip()
    {
        while (pos_ < text_.size() && IsDropped(text_[pos_])) ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t used_ = 0;
};

// An exponent beyond this bound puts the number out of any double's reach
// whatever digits stand before it, since no text holds that many digits.
// Held at the bound, the exponent and the digits' own scale add up without
// leaving the 64-bit range.
constexpr std::int64_t kExponentBound = 100'000'000'000'000'000;

} // namespace

NumberReading ReadNumber(std::string_view text)
{
    NumberReading reading;
    Reader in(text);
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.next();
    }

    // The significant digits without leading zeros, and the power of ten of
    // the digit after the last one kept. Neither bound nor rounding applies:
    // a text of any length reads exactly.
    std::string digits;
    std::int64_t scale = 0;
    bool sawDigit = false;
    for (; IsDigit(in.peek()); in.next()) {
        sawDigit = true;
        if (digits.empty() && in.peek() == '0') continue;
        digits.push_back(in.peek());
    }
    if (in.peek() == '.') {
        for (in.next(); IsDigit(in.peek()); in.next()) {
            sawDigit = true;
            --scale;
            if (digits.empty() && in.peek() == '0') continue;
            digits.push_back(in.peek());
        }
    }
    // Without a digit the reading ends here: no exponent follows a number
    // that is not there.
    reading.used = in.used();
    if (!sawDigit) return reading;

    std::int64_t exponent = 0;
    bool exponentComplete = true;
    const char mark = in.peek();
    if (mark == 'E' || mark == 'e' || mark == 'D' || mark == 'd') {
        in.next();
        bool negativeExponent = false;
        if (in.peek() == '+' || in.peek() == '-') {
            negativeExponent = in.peek() == '-';
            in.next();
        }
        exponentComplete = IsDigit(in.peek());
        for (; IsDigit(in.peek()); in.next())
            exponent = std::min<std::int64_t>(exponent * 10 + (in.peek() - '0'), kExponentBound);
        if (negativeExponent) exponent = -exponent;
    }
    reading.used = in.used();
    reading.complete = exponentComplete;
    if (digits.empty()) return reading;

    // Trailing zeros only move the scale.
    const std::size_t kept = digits.find_last_not_of('0') + 1;
    scale += static_cast<std::int64_t>(digits.size() - kept);
    digits.resize(kept);
    scale += exponent;

    // The leading digit stands at 10^magnitude.
    const std::int64_t magnitude = scale + static_cast<std::int64_t>(digits.size()) - 1;
    const double beyond = negative ? -HUGE_VAL : HUGE_VAL;
    if (magnitude > 308 + 1) {
        reading.value = beyond;
        return reading;
    }
    if (magnitude < -324 - 1) {
        reading.value = negative ? -0.0 : 0.0;
        return reading;
    }

    digits.push_back('e');
    digits.append(std::to_string(scale));
    const std::optional<double> nearest = NearestDouble(digits);
    if (!nearest && magnitude > 0) {
        reading.value = beyond;
        return reading;
    }
    const double value = nearest.value_or(0);
    reading.value = negative ? -value : value;
    return reading;
}

double ValueOfText(std::string_view text)
{
    const double value = ReadNumber(text).value;
    if (std::isinf(value)) throw Overflow();
    return value;
}

std::string NumberText(double x)
{
    std::string text(1, std::signbit(x) && x != 0 ? '-' : ' ');
    const double magnitude = std::fabs(x);
    if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
        std::array<char, 32> buffer{};
        const std::to_chars_result written =
            std::to_chars(buffer.data(), buffer.data() + buffer.size(), static_cast<long long>(magnitude));
        text.append(buffer.data(), written.ptr);
    } else {
        AppendGeneralText(text, magnitude, 15);
    }
    return text;
}

std::string IntegerText(std::int32_t n) { return std::to_string(n); }

void ThrowOverflow() { throw Overflow(); }

} // namespace fibmod
