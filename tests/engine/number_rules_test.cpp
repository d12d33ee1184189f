// SPDX-License-Identifier: MIT
// Reading and writing numbers as the window does: blanks, exponents, locales and overflow.
#include "core/engine/number_rules.h"

#include <clocale>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "core/engine/run_time_error.h"

namespace fibmod {
namespace {

TEST(ValueOfText, TextsWithoutANumberReadAsZero)
{
    for (const char* text : {"", "abc", " ", "-", "+", ".", "-.", "E5", "&H10", "\t\n"})
        EXPECT_EQ(ValueOfText(text), 0) << '"' << text << '"';
}

TEST(ValueOfText, ReadsTheLeadingNumber)
{
    EXPECT_EQ(ValueOfText("-1"), -1);
    EXPECT_EQ(ValueOfText("+6"), 6);
    EXPECT_EQ(ValueOfText(" 2000"), 2000);
    EXPECT_EQ(ValueOfText("12abc"), 12);
    EXPECT_EQ(ValueOfText("1.5.7"), 1.5);
    EXPECT_EQ(ValueOfText(".5"), 0.5);
    EXPECT_EQ(ValueOfText("-.25"), -0.25);
    EXPECT_EQ(ValueOfText("0007"), 7);
    EXPECT_EQ(ValueOfText("3-4"), 3);
    EXPECT_EQ(ValueOfText("0.1"), 0.1);
}

TEST(ValueOfText, DropsBlanksTabsAndLineFeedsAnywhere)
{
    EXPECT_EQ(ValueOfText("1 2"), 12);
    EXPECT_EQ(ValueOfText("\t- 1\n5 "), -15);
    EXPECT_EQ(ValueOfText("1 e 3"), 1000);
    // A carriage return is not dropped: it ends the number.
    EXPECT_EQ(ValueOfText("1\r2"), 1);
}

TEST(ValueOfText, ReadsExponentsWithEOrDInEitherCase)
{
    EXPECT_EQ(ValueOfText("1e3"), 1000);
    EXPECT_EQ(ValueOfText("2E2"), 200);
    EXPECT_EQ(ValueOfText("3d1"), 30);
    EXPECT_EQ(ValueOfText("4D-1"), 0.4);
    EXPECT_EQ(ValueOfText("5e+2x"), 500);
    EXPECT_EQ(ValueOfText("7e"), 7);
    EXPECT_EQ(ValueOfText("1e-400"), 0);
    EXPECT_EQ(ValueOfText("0e999999999999"), 0);
}

TEST(ValueOfText, IgnoresTheLocale)
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(ValueOfText("2.5"), 2.5);
    EXPECT_EQ(ValueOfText("2,5"), 2);
    std::setlocale(LC_NUMERIC, before.c_str());
}

TEST(ValueOfText, ANumberBeyondTheDoubleRangeIsOverflow)
{
    const std::string hugeDigits = "1" + std::string(1'000'000, '0');
    const std::string hugeBoth = std::string(1'000'000, '9') + "e99999999999999999999999";
    for (const std::string& text : {std::string("1e400"), std::string("-1e400"), std::string("1e309"),
                                    std::string("99999e99999999999999999"), hugeDigits, hugeBoth,
                                    "0." + std::string(100'005, '0') + "1e100400"}) {
        try {
            ValueOfText(text);
            ADD_FAILURE() << text.substr(0, 40) << " read without error";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 6) << text.substr(0, 40);
        }
    }
}

// Texts of any length read exactly: the digits' own scale and the exponent
// make up for each other however far they reach.
struct ExactReading {
    const char* name;
    std::string text;
    double value;
};

// A case reads as its name and the start of its text in test listings and
// failures; some texts are a million characters long.
void PrintTo(const ExactReading& reading, std::ostream* os)
{
    constexpr std::size_t kShown = 24;
    *os << reading.name << " (\"" << reading.text.substr(0, kShown) << "\"";
    if (reading.text.size() > kShown) *os << "…, " << reading.text.size() << " characters";
    *os << ")";
}

std::string Repeated(char c, std::size_t n) { return std::string(n, c); }

class ValueOfTextExactly : public ::testing::TestWithParam<ExactReading> {};

TEST_P(ValueOfTextExactly, ReadsTheTextsValue)
{
    EXPECT_EQ(ValueOfText(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    ValueOfText, ValueOfTextExactly,
    ::testing::Values(
        ExactReading{"ZerosRightAfterTheDot", "0.05", 0.05},
        ExactReading{"ZerosAfterALeadingDot", ".005", 0.005},
        ExactReading{"ZerosBetweenDigits", "10.0203", 10.0203},
        ExactReading{"Subnormal", "1e-310", 1e-310},
        ExactReading{"SmallestSubnormal", "4.9406564584124654e-324", 4.9406564584124654e-324},
        ExactReading{"LargestDouble", "1.7976931348623157e308", std::numeric_limits<double>::max()},
        ExactReading{"LongFractionAndLargeExponent", "0." + Repeated('0', 100'005) + "1e100010", 1e4},
        ExactReading{"LongIntegerAndLargeNegativeExponent", "1" + Repeated('0', 100'005) + "e-100010", 1e-5},
        ExactReading{"HugeExponentMadeUpByAMillionZeros", "0." + Repeated('0', 1'000'000) + "3e1000005", 3e4},
        ExactReading{"MillionDigitsRoundedOnce", "1." + Repeated('9', 1'000'000), 2},
        ExactReading{"ExponentBeyondAnyIntegerUnderflows", "1e-99999999999999999999999999", 0},
        ExactReading{"LeadingZerosOfAnyNumber", Repeated('0', 400) + "1", 1}),
    [](const ::testing::TestParamInfo<ExactReading>& info) { return info.param.name; });

TEST(NumberText, PutsABlankBeforeNumbersThatAreNotNegative)
{
    EXPECT_EQ(NumberText(0), " 0");
    EXPECT_EQ(NumberText(-0.0), " 0");
    EXPECT_EQ(NumberText(3), " 3");
    EXPECT_EQ(NumberText(-1), "-1");
    EXPECT_EQ(NumberText(-7), "-7");
    EXPECT_EQ(NumberText(2000), " 2000");
    EXPECT_EQ(NumberText(999999999999999), " 999999999999999");
}

TEST(NumberText, WritesOtherNumbersWithAtMost15SignificantDigits)
{
    EXPECT_EQ(NumberText(0.5), " 0.5");
    EXPECT_EQ(NumberText(-2.25), "-2.25");
    EXPECT_EQ(NumberText(0.1 + 0.2), " 0.3");
    EXPECT_EQ(NumberText(1.0 / 3), " 0.333333333333333");
    EXPECT_EQ(NumberText(1e15), " 1e+15");
}

TEST(IntegerText, WritesPlainDigitsWithoutABlank)
{
    EXPECT_EQ(IntegerText(12), "12");
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(-3), "-3");
}

TEST(ReduceMod, GivesTheResidueAlsoForNegativeNumbers)
{
    EXPECT_EQ(ReduceMod(-1, 3), 2);
    EXPECT_EQ(ReduceMod(-2, 3), 1);
    EXPECT_EQ(ReduceMod(8, 7), 1);
    EXPECT_EQ(ReduceMod(-7, 7), 0);
    EXPECT_FALSE(std::signbit(ReduceMod(-6, 3)));
    EXPECT_EQ(ReduceMod(7.5, 2), 1.5);
}

TEST(Finite, RejectsInfinityAndNaN)
{
    EXPECT_EQ(Finite(1e308), 1e308);
    for (double x : {HUGE_VAL, -HUGE_VAL, std::nan("")}) {
        try {
            Finite(x);
            ADD_FAILURE() << x << " passed";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 6);
        }
    }
}

} // namespace
} // namespace fibmod
