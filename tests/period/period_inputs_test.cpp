// SPDX-License-Identifier: MIT
// The period engine's inputs read without FLINT, checked against FLINT's own reading.
#include "core/engine/period/period_inputs.h"

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "core/engine/period/big_integer.h"
#include "tests/support/seeded_random.h"

namespace fibmod {
namespace {

using testing::SeededRandom;

// What a user might type: up to `digits` digits, often with leading zeros,
// a sign and blanks around.
std::string TypedNumber(SeededRandom& draw, std::size_t digits)
{
    std::string text = draw.chance(20) ? " \t" : "";
    text += draw.chance(30) ? "-" : draw.chance(20) ? "+" : "";
    if (draw.chance(30)) text += std::string(draw.index(5), '0');
    const std::size_t length = 1 + draw.index(digits);
    for (std::size_t i = 0; i < length; ++i) text.push_back(static_cast<char>('0' + draw.belowInt(10)));
    if (draw.chance(20)) text += " ";
    return text;
}

TEST(PeriodInputs, WholeNumberTextsAreWhatFlintReads)
{
    SeededRandom draw(29);
    for (int trial = 0; trial < 3000; ++trial) {
        const std::string typed = TypedNumber(draw, 120);
        ASSERT_EQ(ReadWholeNumberText(typed), ReadBigWholeNumber(typed).toString()) << typed;
    }
    for (const char* bad : {"2.5", "1e3", "", " ", "1 2", "12x", "--1"}) {
        try {
            ReadWholeNumberText(bad);
            ADD_FAILURE() << bad;
        } catch (const std::invalid_argument& error) {
            EXPECT_EQ(error.what(), "'" + std::string(bad) + "' is not a whole number in decimal digits");
        }
    }
}

TEST(PeriodInputs, ModuliAreTheWholeNumbersFrom2To2To127Minus1)
{
    SeededRandom draw(31);
    const BigInt two(2);
    for (int trial = 0; trial < 3000; ++trial) {
        // Around 2^127 − 1's 39 digits, and small numbers near 2.
        const std::string typed = TypedNumber(draw, draw.chance(50) ? 40 : 2);
        const BigInt exact = ReadBigWholeNumber(typed);
        if (exact >= two && exact <= PeriodModulusMax()) {
            ASSERT_EQ(BigInt(ReadPeriodModulus(typed)), exact) << typed;
            ASSERT_EQ(DecimalText(ReadPeriodModulus(typed)), exact.toString()) << typed;
        } else {
            try {
                ReadPeriodModulus(typed);
                ADD_FAILURE() << typed;
            } catch (const std::invalid_argument& error) {
                ASSERT_EQ(error.what(), OutsidePeriodModuli(exact.toString())) << typed;
            }
        }
    }
    EXPECT_EQ(ReadPeriodModulus("170141183460469231731687303715884105727"), kPeriodModulusMax);
    EXPECT_EQ(OutsidePeriodModuli("1"), "1 is outside the range 2 to 170141183460469231731687303715884105727");
    // Leading zeros count for nothing; a 40th digit is too many however
    // long the text.
    EXPECT_EQ(ReadPeriodModulus(" +" + std::string(100000, '0') + "12 "), 12U);
    for (const std::string& bad : {std::string(1000000, '9'), std::string("1"), std::string("2^7")}) {
        try {
            ReadPeriodModulus(bad);
            ADD_FAILURE() << bad.substr(0, 9);
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(bad.size() > 3 ? " is outside the range 2 to 1701" : bad),
                      std::string::npos);
        }
    }
}

TEST(PeriodInputs, DecimalTextIsFlintsAtEveryLength)
{
    SeededRandom draw(37);
    for (int trial = 0; trial < 3000; ++trial) {
        const unsigned bits = static_cast<unsigned>(draw.belowInt(129));
        const std::uint64_t high = draw.below(~std::uint64_t{0});
        PeriodUInt128 x = (static_cast<PeriodUInt128>(high) << 64) | draw.below(~std::uint64_t{0});
        if (bits < 128) x &= (PeriodUInt128{1} << bits) - 1;
        ASSERT_EQ(DecimalText(x), BigInt(x).toString());
    }
    EXPECT_EQ(DecimalText(0), "0");
    EXPECT_EQ(DecimalText(~PeriodUInt128{0}), "340282366920938463463374607431768211455");
}

} // namespace
} // namespace fibmod
