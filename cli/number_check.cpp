// SPDX-License-Identifier: MIT
// Whether a command-line value is a number and nothing else.
#include "cli/number_check.h"

namespace fibmod::cli {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSign(char c) { return c == '+' || c == '-'; }
bool IsExponentMark(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

// Steps over the characters that satisfy `fits`; returns how many.
template <class Fits>
std::size_t Skip(std::string_view text, std::size_t& pos, Fits fits)
{
    const std::size_t start = pos;
    while (pos < text.size() && fits(text[pos])) ++pos;
    return pos - start;
}

bool SkipOne(std::string_view text, std::size_t& pos, bool (*fits)(char))
{
    if (pos == text.size() || !fits(text[pos])) return false;
    ++pos;
    return true;
}

} // namespace

bool IsEntirelyANumber(std::string_view text)
{
    std::size_t pos = 0;
    Skip(text, pos, IsBlank);
    SkipOne(text, pos, IsSign);
    std::size_t digits = Skip(text, pos, IsDigit);
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        digits += Skip(text, pos, IsDigit);
    }
    if (digits == 0) return false;
    if (SkipOne(text, pos, IsExponentMark)) {
        SkipOne(text, pos, IsSign);
        if (Skip(text, pos, IsDigit) == 0) return false;
    }
    Skip(text, pos, IsBlank);
    return pos == text.size();
}

} // namespace fibmod::cli
