// SPDX-License-Identifier: MIT
// Integer options and the progress line's text.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "cli/progress_line.h"
#include "cli/whole_number_option.h"

namespace fibmod::cli {
namespace {

TEST(IntegerOptions, HandPlainDigitsOnOrTheEnginesReason)
{
    std::string typed = " 010 ";
    EXPECT_EQ(WholeNumberIn(2, 2147483647)(typed), "");
    EXPECT_EQ(typed, "10");
    std::string low = "1";
    EXPECT_EQ(WholeNumberIn(2, 2147483647)(low), "1 is outside the range 2 to 2147483647");
    std::string none = " none ";
    EXPECT_EQ(TermBoundText()(none), "");
    EXPECT_EQ(TermBoundOf(none), std::nullopt);
    std::string above = "4611686018427387905";
    EXPECT_EQ(TermBoundText()(above), "");
    EXPECT_EQ(TermBoundOf(above), kTermBoundMax);
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
