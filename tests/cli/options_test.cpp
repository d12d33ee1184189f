// SPDX-License-Identifier: MIT
// Integer options, shortened messages and the progress line's text.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "cli/progress_line.h"
#include "cli/usage_errors.h"
#include "cli/whole_number_option.h"

namespace fibmod::cli {
namespace {

// One text typed for an integer option in 2 … 2147483647, and what becomes of it.
struct IntegerCase {
    const char* name;
    const char* typed;
    // The plain digits the option receives, or the reason it is refused.
    const char* digits;
    const char* refusal;
};

void PrintTo(const IntegerCase& c, std::ostream* out) { *out << c.name; }

class WholeNumberOption : public testing::TestWithParam<IntegerCase> {};

TEST_P(WholeNumberOption, TakesDecimalDigitsOnlyAndNamesTheRange)
{
    const IntegerCase& c = GetParam();
    std::string value = c.typed;
    const std::string refusal = WholeNumberIn(2, 2147483647)(value);
    EXPECT_EQ(refusal, c.refusal);
    if (refusal.empty()) {
        EXPECT_EQ(value, c.digits);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WholeNumberOption,
    testing::Values(IntegerCase{"Plain", "17", "17", ""}, IntegerCase{"LeadingZerosAreDecimal", "010", "10", ""},
                    IntegerCase{"BlanksAround", " \t3 ", "3", ""}, IntegerCase{"PlusSign", "+5", "5", ""},
                    IntegerCase{"TheTop", "2147483647", "2147483647", ""},
                    IntegerCase{"Exponent", "1e3", "", "'1e3' is not a whole number in decimal digits"},
                    IntegerCase{"Point", "3.0", "", "'3.0' is not a whole number in decimal digits"},
                    IntegerCase{"Hexadecimal", "0x10", "", "'0x10' is not a whole number in decimal digits"},
                    IntegerCase{"Empty", "", "", "'' is not a whole number in decimal digits"},
                    IntegerCase{"InnerBlank", "1 0", "", "'1 0' is not a whole number in decimal digits"},
                    IntegerCase{"BelowTheRange", "1", "", "1 is outside the range 2 to 2147483647"},
                    IntegerCase{"Negative", " -4", "", "-4 is outside the range 2 to 2147483647"},
                    IntegerCase{"AboveTheRange", "2147483648", "", "2147483648 is outside the range 2 to 2147483647"}),
    [](const testing::TestParamInfo<IntegerCase>& info) { return std::string(info.param.name); });

TEST(TermBoundOption, TakesNoneOrAWholeNumberUpTo2To62)
{
    std::string none = " none ";
    EXPECT_EQ(TermBoundText()(none), "");
    EXPECT_EQ(TermBoundOf(none), std::nullopt);
    std::string top = "4611686018427387904";
    EXPECT_EQ(TermBoundText()(top), "");
    EXPECT_EQ(TermBoundOf(top), kTermBoundMax);
    // Read as the window reads numbers: the nearest double is 2^62.
    std::string above = "4611686018427387905";
    EXPECT_EQ(TermBoundText()(above), "");
    EXPECT_EQ(TermBoundOf(above), kTermBoundMax);
    std::string zero = "0";
    EXPECT_EQ(TermBoundText()(zero), "0 is outside the range 1 to 4611686018427387904");
    std::string word = "None";
    EXPECT_EQ(TermBoundText()(word), "'None' is not a whole number in decimal digits");
}

TEST(ShortenedWords, CutsOnlyLongWordsAndKeepsAClosingQuote)
{
    EXPECT_EQ(ShortenedWords("--modulus: 12 is fine"), "--modulus: 12 is fine");
    EXPECT_EQ(ShortenedWords("'" + std::string(50, '7') + "' is not"), "'" + std::string(31, '7') + "…' is not");
    // A cut never splits a character.
    std::string wide = "x";
    for (int i = 0; i < 30; ++i) wide += "ä";
    EXPECT_EQ(ShortenedWords(wide), "x" + std::string(wide.substr(1, 30)) + "…");
}

TEST(ProgressText, TellsModuliDoneRateAndTimeLeft)
{
    using Seconds = std::chrono::duration<double>;
    EXPECT_EQ(ProgressText({2, 100001}, 0, Seconds(0)), "0 of 100,000 moduli");
    // Half the moduli are a quarter of the work.
    EXPECT_EQ(ProgressText({1, 100000}, 50000, Seconds(10)), "50,000 of 100,000 moduli, 5,000/s, about 30 s left");
    EXPECT_EQ(ProgressText({1, 1000000}, 1000, Seconds(60)), "1,000 of 1,000,000 moduli, 17/s, about 16650 h left");
}

} // namespace
} // namespace fibmod::cli
