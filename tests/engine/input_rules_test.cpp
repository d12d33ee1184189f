// SPDX-License-Identifier: MIT
// How typed values are read and refused: numbers, start pairs, whole numbers, term bounds, long words.
#include "core/engine/input_rules.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "core/engine/number_rules.h"

namespace fibmod {
namespace {

TEST(IsEntirelyANumber, AcceptsEveryFormTheWindowReads)
{
    for (const char* text : {"0", "-1", "+6", "0007", "1.5", ".5", "5.", "-.25", "1e3", "2E-2", "3d+1", "4D1",
                             "1e400", "-1.5e-400"})
        EXPECT_TRUE(IsEntirelyANumber(text)) << '"' << text << '"';
}

TEST(IsEntirelyANumber, AcceptsBlanksAndTabsAroundTheNumberOnly)
{
    EXPECT_TRUE(IsEntirelyANumber(" 12"));
    EXPECT_TRUE(IsEntirelyANumber("-3\t "));
    // The window would read these as 12, -1 and 1000.
    for (const char* text : {"1 2", "- 1", "1 e3", "1e 3"}) EXPECT_FALSE(IsEntirelyANumber(text)) << '"' << text << '"';
}

TEST(IsEntirelyANumber, RejectsTextsWhoseReadingStopsEarlyOrFindsNoNumber)
{
    for (const char* text : {"", " ", "abc", "-", "+", ".", "-.", "e5", "12x", "1.5.7", "3-4", "1e", "1e+", "1,5",
                             "--1", "+-1", "1\r", "1\n", "0x10", "&H10", "inf", "nan"})
        EXPECT_FALSE(IsEntirelyANumber(text)) << '"' << text << '"';
}

TEST(IsEntirelyANumber, AgreesWithTheWindowsReadingOnWhereTheNumberEnds)
{
    // An accepted text is read to its end: a digit appended still counts.
    for (const char* text : {"-1", "+6", ".5", "5.", "0007", "2E-2", "3d+1", " 7 "})
        EXPECT_NE(ValueOfText(text), ValueOfText(std::string(text) + "5")) << '"' << text << '"';
}

TEST(ReadNumber, TellsHowMuchOfTheTextTheNumberTakesAndWhetherItIsWhole)
{
    EXPECT_EQ(ReadNumber(" 12x").used, 3u);
    EXPECT_TRUE(ReadNumber(" 12x").complete);
    EXPECT_EQ(ReadNumber("1.5.7").used, 3u);
    EXPECT_EQ(ReadNumber("1 2 ").used, 3u);
    EXPECT_EQ(ReadNumber("1 2 ").value, 12);
    EXPECT_FALSE(ReadNumber("1e+").complete);
    EXPECT_EQ(ReadNumber("1e+").value, 1);
    EXPECT_FALSE(ReadNumber(".").complete);
    EXPECT_FALSE(ReadNumber("-").complete);
    EXPECT_EQ(ReadNumber("abc").used, 0u);
    // Beyond the double range: an infinity, where ValueOfText raises error 6.
    EXPECT_EQ(ReadNumber("-1e400").value, -HUGE_VAL);
    EXPECT_TRUE(ReadNumber("-1e400").complete);
}

TEST(StartPair, IsTwoNumbersAroundExactlyOneComma)
{
    EXPECT_TRUE(IsStartPair("1,1"));
    EXPECT_TRUE(IsStartPair(" -5 , 7.5 "));
    for (const char* text : {"1", "1,", ",1", "1,2,3", "1;2", "x,1", ""}) EXPECT_FALSE(IsStartPair(text)) << text;
    EXPECT_EQ(StartPairHalves("-5,7"), (std::pair<std::string_view, std::string_view>{"-5", "7"}));
    EXPECT_EQ(NotTwoNumbers("1;2"), "'1;2' is not two numbers A,B");
}

// One text typed for a whole number in 2 … 2147483647, and what becomes of it.
struct WholeCase {
    const char* name;
    const char* typed;
    std::int64_t value;
    const char* refusal;
};

void PrintTo(const WholeCase& c, std::ostream* out) { *out << c.name; }

class ReadWholeNumberTest : public testing::TestWithParam<WholeCase> {};

TEST_P(ReadWholeNumberTest, TakesDecimalDigitsOnlyAndNamesTheRange)
{
    const WholeCase& c = GetParam();
    const WholeNumberReading reading = ReadWholeNumber(c.typed, 2, 2147483647);
    EXPECT_EQ(reading.problem, c.refusal);
    EXPECT_EQ(reading.value, *c.refusal ? std::nullopt : std::optional<std::int64_t>(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadWholeNumberTest,
    testing::Values(WholeCase{"Plain", "17", 17, ""}, WholeCase{"LeadingZerosAreDecimal", "010", 10, ""},
                    WholeCase{"BlanksAround", " \t3 ", 3, ""}, WholeCase{"PlusSign", "+5", 5, ""},
                    WholeCase{"TheTop", "2147483647", 2147483647, ""},
                    WholeCase{"Exponent", "1e3", 0, "'1e3' is not a whole number in decimal digits"},
                    WholeCase{"Point", "3.0", 0, "'3.0' is not a whole number in decimal digits"},
                    WholeCase{"Hexadecimal", "0x10", 0, "'0x10' is not a whole number in decimal digits"},
                    WholeCase{"Empty", "", 0, "'' is not a whole number in decimal digits"},
                    WholeCase{"InnerBlank", "1 0", 0, "'1 0' is not a whole number in decimal digits"},
                    WholeCase{"BelowTheRange", "1", 0, "1 is outside the range 2 to 2147483647"},
                    WholeCase{"Negative", " -4", 0, "-4 is outside the range 2 to 2147483647"},
                    WholeCase{"AboveTheRange", "2147483648", 0, "2147483648 is outside the range 2 to 2147483647"}),
    [](const testing::TestParamInfo<WholeCase>& info) { return std::string(info.param.name); });

TEST(WholeNumberDigits, TakesASignAndDigitsOfAnyLengthWithBlanksAround)
{
    const std::string huge = "-" + std::string(60, '9');
    EXPECT_EQ(WholeNumberDigits(" \t" + huge + " "), std::optional<std::string_view>(huge));
    EXPECT_EQ(WholeNumberDigits("+007"), std::optional<std::string_view>("+007"));
    for (const char* bad : {"", " ", "-", "1e3", "2.5", "1 2", "0x10"})
        EXPECT_EQ(WholeNumberDigits(bad), std::nullopt) << bad;
    EXPECT_EQ(NotAWholeNumber("1e3"), "'1e3' is not a whole number in decimal digits");
    // What a terminal would act on, and what would end a C string, shows as
    // \xNN; UTF-8 and tabs stay.
    EXPECT_EQ(NotAWholeNumber(std::string_view("1\x1b[2J\0\xff\xc2\x9b\tü\xe2\x82", 14)),
              "'1\\x1b[2J\\x00\\xff\\xc2\\x9b\tü\\xe2\\x82' is not a whole number in decimal digits");
}

TEST(ReadTermBound, TakesNoneOrAWholeNumberUpTo2To62)
{
    EXPECT_EQ(ReadTermBound(" none ").bound, std::nullopt);
    EXPECT_EQ(ReadTermBound(" none ").problem, "");
    EXPECT_EQ(ReadTermBound("4611686018427387904").bound, kTermBoundMax);
    // Read as the window reads numbers: the nearest double is 2^62.
    EXPECT_EQ(ReadTermBound("4611686018427387905").bound, kTermBoundMax);
    EXPECT_EQ(ReadTermBound("0").problem, "0 is outside the range 1 to 4611686018427387904");
    EXPECT_EQ(ReadTermBound("None").problem, "'None' is not a whole number in decimal digits");
}

TEST(ShortenedWords, CutsOnlyLongWordsAndKeepsAClosingQuote)
{
    EXPECT_EQ(ShortenedWords("--modulus: 12 is fine"), "--modulus: 12 is fine");
    EXPECT_EQ(ShortenedWords("'" + std::string(50, '7') + "' is not"), "'" + std::string(31, '7') + "…' is not");
    // A cut never splits a character.
    std::string wide = "x";
    for (int i = 0; i < 30; ++i) wide += "ä";
    EXPECT_EQ(ShortenedWords(wide), "x" + std::string(wide.substr(1, 30)) + "…");
    // A word of stray continuation bytes has no whole character to keep.
    EXPECT_EQ(ShortenedWords(std::string(45, '\x80')), "…");
}

} // namespace
} // namespace fibmod
