// SPDX-License-Identifier: MIT
// Which command-line values count as numbers.
#include "cli/number_check.h"

#include <cmath>

#include <gtest/gtest.h>

#include "core/number_rules.h"

namespace fibmod::cli {
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

} // namespace
} // namespace fibmod::cli
