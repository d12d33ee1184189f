// SPDX-License-Identifier: MIT
// Whole numbers of any size: reading and writing decimal text, 128-bit values.
#include "core/engine/period/big_integer.h"

#include "core/engine/input_rules.h"

#include <memory>
#include <optional>
#include <stdexcept>

namespace fibmod {

BigInt::BigInt(PeriodUInt128 value)
{
    fmpz_init(value_);
    fmpz_set_ui(value_, static_cast<std::uint64_t>(value >> 64));
    fmpz_mul_2exp(value_, value_, 64);
    fmpz_add_ui(value_, value_, static_cast<std::uint64_t>(value));
}

BigInt BigInt::FromDecimal(std::string_view text)
{
    std::string_view digits = text;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
    if (digits.empty()) throw std::invalid_argument("not a whole number: \"" + std::string(text) + "\"");
    for (const char c : digits)
        if (c < '0' || c > '9') throw std::invalid_argument("not a whole number: \"" + std::string(text) + "\"");
    BigInt result;
    const std::string terminated(digits);
    fmpz_set_str(result.value_, terminated.c_str(), 10);
    if (negative) fmpz_neg(result.value_, result.value_);
    return result;
}

std::string BigInt::toString() const
{
    const std::unique_ptr<char, void (*)(void*)> text(fmpz_get_str(nullptr, 10, value_), flint_free);
    return text.get();
}

PeriodUInt128 BigInt::toUInt128() const
{
    fmpz_t high;
    fmpz_init(high);
    fmpz_fdiv_q_2exp(high, value_, 64);
    fmpz_t rest;
    fmpz_init(rest);
    fmpz_fdiv_r_2exp(rest, value_, 64);
    const PeriodUInt128 result = (static_cast<PeriodUInt128>(fmpz_get_ui(high)) << 64) | fmpz_get_ui(rest);
    fmpz_clear(rest);
    fmpz_clear(high);
    return result;
}

BigInt ReadBigWholeNumber(std::string_view text)
{
    const std::optional<std::string_view> digits = WholeNumberDigits(text);
    if (!digits) throw std::invalid_argument(NotAWholeNumber(text));
    return BigInt::FromDecimal(*digits);
}

BigInt Residue(const BigInt& x, const BigInt& m)
{
    BigInt result;
    fmpz_fdiv_r(result.get(), x.get(), m.get());
    return result;
}

BigInt PeriodModulusMax() { return BigInt(kPeriodModulusMax); }

} // namespace fibmod
