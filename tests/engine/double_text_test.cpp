// SPDX-License-Identifier: MIT
// Doubles from and to text: the C library's paths agree with from_chars and to_chars, at the edges too.
#include "core/engine/double_text.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/seeded_random.h"

namespace fibmod {
namespace {

TEST(NearestDouble, FindsExactHalvesSubnormalsAndTheLargestDouble)
{
    EXPECT_EQ(NearestDouble("125e-2"), 1.25);
    EXPECT_EQ(NearestDouble("5e-324"), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(NearestDouble("17976931348623157e292"), std::numeric_limits<double>::max());
}

TEST(NearestDouble, GivesNoneBeyondTheLargestDoubleAndWhereItRoundsToZero)
{
    EXPECT_FALSE(NearestDouble("17976931348623159e292"));
    EXPECT_FALSE(NearestDouble("2e-324"));
    EXPECT_FALSE(NearestDouble("1e-400"));
}

TEST(NearestDouble, ByStrtodAgreesWithFromCharsOnRandomDecimalsOfEveryScale)
{
    testing::SeededRandom random(20261209);
    for (int n = 0; n < 20000; ++n) {
        std::string decimal(1, static_cast<char>('1' + random.belowInt(9)));
        for (int d = random.belowInt(25); d > 0; --d) decimal += static_cast<char>('0' + random.belowInt(10));
        decimal += 'e' + std::to_string(random.belowInt(700) - 360);
        const auto expected = NearestDouble(decimal);
        const auto strtod = NearestDoubleByStrtod(decimal);
        ASSERT_EQ(expected.has_value(), strtod.has_value()) << decimal;
        if (expected) {
            ASSERT_EQ(*expected, *strtod) << decimal;
        }
    }
}


TEST(GeneralText, WritesFifteenDigitsAsPrintfDoesAndByPrintfAlike)
{
    EXPECT_EQ(GeneralText(1.5, 15), "1.5");
    EXPECT_EQ(GeneralText(1e20, 15), "1e+20");
    EXPECT_EQ(GeneralText(0.1 + 0.2, 15), "0.3");
    EXPECT_EQ(GeneralText(1.0 / 3, 15), "0.333333333333333");
    testing::SeededRandom random(7);
    for (int n = 0; n < 20000; ++n) {
        const double value = std::ldexp(static_cast<double>(random.below(std::uint64_t{1} << 53)),
                                        random.belowInt(200) - 120);
        ASSERT_EQ(GeneralText(value, 15), GeneralTextByPrintf(value, 15)) << value;
    }
}

} // namespace
} // namespace fibmod
