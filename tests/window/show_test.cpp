// SPDX-License-Identifier: MIT
// One modulus with its listings, where the window reaches and past it.
#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include <gmock/gmock.h>

#include "core/engine/inputs.h"
#include "core/window/show.h"

namespace fibmod {
namespace {

using ::testing::ElementsAre;

TEST(ShowModulusTest, GivesTheWindowsFieldsForTheWorkedExample)
{
    const ShownModulus shown = ShowModulus(kDesignTimeInputs, 3);
    EXPECT_EQ(shown.listing1, " 2\r\n 2\r\n 1\r\n 1\r\n");
    EXPECT_EQ(shown.listing2, " 0\r\n 2\r\n 2\r\n 0\r\n 1\r\n 1\r\n");
    EXPECT_EQ(shown.length1, "4");
    EXPECT_EQ(shown.length2, "6");
    EXPECT_EQ(shown.count, "2");
    EXPECT_THAT(shown.terms1, ElementsAre(2, 2, 1, 1));
    EXPECT_THAT(shown.row.residues, ElementsAre(1, 2));
    EXPECT_EQ(shown.members.size(), 8u);
    EXPECT_EQ(shown.common.substr(0, 13), " 2 bei  1 2\r\n");
}

// A bound of 3001 takes the texts made from the figures instead of the
// window's fields; where no cycle reaches 3000 terms they must be the same.
TEST(ShowModulusTest, TextsMadeFromTheFiguresEqualTheWindowsFields)
{
    std::mt19937 random(7);
    for (int trial = 0; trial < 80; ++trial) {
        const std::string r1 = std::to_string(static_cast<int>(random() % 21) - 10);
        const std::string s1 = std::to_string(static_cast<int>(random() % 21) - 10);
        const std::string a = std::to_string(static_cast<int>(random() % 41) - 20);
        const std::string b = trial % 3 == 0 ? "0.5" : std::to_string(static_cast<int>(random() % 41) - 20);
        InputTexts texts = kDesignTimeInputs;
        texts.r1 = r1;
        texts.s1 = s1;
        texts.first2 = a;
        texts.second2 = b;
        const auto modulus = static_cast<std::int64_t>(2 + random() % 60);
        const ShownModulus window = ShowModulus(texts, modulus);
        if (window.row.failed()) continue;
        const ShownModulus made = ShowModulus(texts, modulus, 3001);
        EXPECT_EQ(made.listing1, window.listing1) << trial;
        EXPECT_EQ(made.listing2, window.listing2) << trial;
        EXPECT_EQ(made.common, window.common) << trial;
        EXPECT_EQ(made.length1 + made.length2 + made.count, window.length1 + window.length2 + window.count) << trial;
    }
}

TEST(ShowModulusTest, ListsACyclePastTheWindowsBounds)
{
    InputTexts texts = kDesignTimeInputs;
    texts.r1 = "1";
    texts.s1 = "1";
    texts.first1 = "0";
    // The Fibonacci numbers modulo 10,007 have a cycle of 20,016 terms.
    const ShownModulus shown = ShowModulus(texts, 10007, std::nullopt);
    ASSERT_FALSE(shown.row.failed());
    EXPECT_EQ(shown.row.length1, 20016);
    EXPECT_EQ(shown.terms1.size(), 20016u);
    EXPECT_EQ(shown.length1, "20016");
    EXPECT_EQ(ShowModulus(texts, 10007, 3000).row.failureText(),
              "Laufzeitfehler 9: Index außerhalb des gültigen Bereichs");
    const ShownModulus summary = ShowModulus(texts, 10007, std::nullopt, false);
    EXPECT_TRUE(summary.listing1.empty());
    EXPECT_EQ(summary.row, shown.row);
}

// The window's own fields serve only where the window would show the same:
// a modulus it reaches and its own bound.
TEST(ShowModulusTest, MakesItsTextsWhereTheWindowWouldShowSomethingElse)
{
    InputTexts texts = kDesignTimeInputs;
    texts.r1 = "1";
    texts.s1 = "1";
    texts.first1 = "0";
    // Fibonacci modulo 1250 runs 7500 terms: error 9 in the window.
    const ShownModulus longer = ShowModulus(texts, 1250, 10000);
    EXPECT_EQ(longer.length1, "7500");
    EXPECT_EQ(std::count(longer.listing1.begin(), longer.listing1.end(), '\n'), 7500);
    // Above 2000 the window's field would hold 2000.
    const ShownModulus above = ShowModulus(kDesignTimeInputs, 2001);
    EXPECT_EQ(above.row.modulus, 2001);
    EXPECT_EQ(above.length1, std::to_string(above.row.length1));
    EXPECT_NE(above.listing2, ShowModulus(kDesignTimeInputs, 2000).listing2);
}

} // namespace
} // namespace fibmod
