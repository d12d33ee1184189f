// SPDX-License-Identifier: MIT
// BigInt's sums, differences, order, residues and decimal text against 128-bit integers and plain digits.
#include "core/engine/period/big_integer.h"

#include <cstdint>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/seeded_random.h"

namespace {

using fibmod::BigInt;
using fibmod::PeriodUInt128;
using fibmod::testing::SeededRandom;

__extension__ typedef __int128 Int128;

// The decimal text of x, digit by digit: the reference for toString.
std::string Decimal(Int128 x)
{
    const bool negative = x < 0;
    auto magnitude = negative ? static_cast<PeriodUInt128>(-(x + 1)) + 1 : static_cast<PeriodUInt128>(x);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return negative ? "-" + digits : digits;
}

// A number of up to 125 bits, either sign, small ones as likely as large ones.
Int128 Draw(SeededRandom& draw)
{
    const int bits = draw.belowInt(126);
    PeriodUInt128 magnitude = (static_cast<PeriodUInt128>(draw.below(~std::uint64_t{0})) << 64) | draw.below(~std::uint64_t{0});
    magnitude = bits == 0 ? 0 : magnitude >> (128 - bits);
    const auto value = static_cast<Int128>(magnitude);
    return draw.chance(50) ? -value : value;
}

// The BigInt of x, built from its two 64-bit halves with BigInt's own arithmetic.
BigInt Big(Int128 x)
{
    const bool negative = x < 0;
    const BigInt magnitude(negative ? static_cast<PeriodUInt128>(-x) : static_cast<PeriodUInt128>(x));
    return negative ? BigInt(0) - magnitude : magnitude;
}

TEST(BigIntTest, SumsDifferencesAndOrderAreThoseOf128BitIntegers)
{
    SeededRandom draw(41);
    for (int trial = 0; trial < 20000; ++trial) {
        const Int128 a = Draw(draw);
        const Int128 b = draw.chance(5) ? a : Draw(draw);
        const BigInt x = Big(a);
        const BigInt y = Big(b);
        const std::string where = Decimal(a) + " and " + Decimal(b);
        ASSERT_EQ((x + y).toString(), Decimal(a + b)) << where;
        ASSERT_EQ((x - y).toString(), Decimal(a - b)) << where;
        ASSERT_EQ(x == y, a == b) << where;
        ASSERT_EQ(x < y, a < b) << where;
        ASSERT_EQ(x.sign(), (a > 0) - (a < 0)) << where;
        if (b > 0) {
            const Int128 rest = a % b;
            ASSERT_EQ(fibmod::Residue(x, y).toString(), Decimal(rest < 0 ? rest + b : rest)) << where;
        }
        ASSERT_EQ(x.fitsUInt64(), a >= 0 && a <= static_cast<Int128>(~std::uint64_t{0})) << where;
        if (x.fitsUInt64()) {
            ASSERT_EQ(x.toUInt64(), static_cast<std::uint64_t>(a)) << where;
        }
        if (a >= 0) {
            ASSERT_EQ(x.toUInt128(), static_cast<PeriodUInt128>(a)) << where;
        }
    }
}

TEST(BigIntTest, DecimalTextReadsBackToTheSameNumberAtAnyLength)
{
    SeededRandom draw(43);
    for (int trial = 0; trial < 3000; ++trial) {
        // Up to 200 digits, beyond any machine integer.
        std::string digits(1 + draw.index(200), '0');
        for (char& digit : digits) digit = static_cast<char>('0' + draw.belowInt(10));
        const std::string sign = draw.chance(30) ? "-" : draw.chance(20) ? "+" : "";
        const BigInt x = BigInt::FromDecimal(sign + digits);
        // Written back without leading zeros or '+', and '-' only before a number other than 0.
        const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size() - 1);
        const std::string canonical = digits.substr(first);
        ASSERT_EQ(x.toString(), (sign == "-" && canonical != "0" ? "-" : "") + canonical) << sign + digits;
        ASSERT_EQ(BigInt::FromDecimal(x.toString()), x);
        ASSERT_EQ(fibmod::ReadBigWholeNumber(sign + digits), x) << sign + digits;
    }
    for (const char* text : {"", "-", "+", "1 2", "1.5", "0x10", "١٢"})
        EXPECT_THROW(BigInt::FromDecimal(text), std::invalid_argument) << text;
}

} // namespace
