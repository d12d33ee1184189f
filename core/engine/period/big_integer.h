// SPDX-License-Identifier: MIT
// A whole number of any size: an owned FLINT fmpz with value semantics.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

#include <flint/fmpz.h>

#include "core/engine/period/period_inputs.h"

namespace fibmod {

// A whole number of any size. Copies are deep; a moved-from number is 0.
class BigInt {
public:
    // 0.
    BigInt() { fmpz_init(value_); }
    BigInt(std::int64_t value) { fmpz_init_set_si(value_, value); }
    BigInt(std::uint64_t value) { fmpz_init_set_ui(value_, value); }
    BigInt(int value) : BigInt(static_cast<std::int64_t>(value)) {}
    BigInt(unsigned value) : BigInt(static_cast<std::uint64_t>(value)) {}
    explicit BigInt(PeriodUInt128 value);
    // A copy of an fmpz.
    explicit BigInt(const fmpz_t value) { fmpz_init_set(value_, value); }
    BigInt(const BigInt& other) { fmpz_init_set(value_, other.value_); }
    BigInt(BigInt&& other) noexcept
    {
        fmpz_init(value_);
        fmpz_swap(value_, other.value_);
    }
    BigInt& operator=(const BigInt& other)
    {
        fmpz_set(value_, other.value_);
        return *this;
    }
    BigInt& operator=(BigInt&& other) noexcept
    {
        fmpz_swap(value_, other.value_);
        fmpz_zero(other.value_);
        return *this;
    }
    ~BigInt() { fmpz_clear(value_); }

    // The number written in decimal: an optional sign ('-' or '+') and one
    // or more digits 0-9, nothing else (no blanks). std::invalid_argument
    // for anything else.
    static BigInt FromDecimal(std::string_view text);

    // The number in decimal, with '-' when negative.
    std::string toString() const;

    // The FLINT value, to pass to FLINT's functions.
    fmpz* get() { return value_; }
    const fmpz* get() const { return value_; }

    // True when the number lies in 0 … 2^64 − 1.
    bool fitsUInt64() const { return fmpz_sgn(value_) >= 0 && fmpz_bits(value_) <= 64; }
    // The value; only when fitsUInt64 holds (resp. for 0 … 2^128 − 1).
    std::uint64_t toUInt64() const { return fmpz_get_ui(value_); }
    PeriodUInt128 toUInt128() const;

    // The number of bits of |x| (0 for 0).
    std::uint64_t bits() const { return fmpz_bits(value_); }
    // −1, 0 or 1.
    int sign() const { return fmpz_sgn(value_); }

    // Sums and differences, exact.
    friend BigInt operator+(const BigInt& a, const BigInt& b)
    {
        BigInt sum;
        fmpz_add(sum.value_, a.value_, b.value_);
        return sum;
    }
    friend BigInt operator-(const BigInt& a, const BigInt& b)
    {
        BigInt difference;
        fmpz_sub(difference.value_, a.value_, b.value_);
        return difference;
    }

    friend bool operator==(const BigInt& a, const BigInt& b) { return fmpz_equal(a.value_, b.value_) != 0; }
    friend std::strong_ordering operator<=>(const BigInt& a, const BigInt& b)
    {
        return fmpz_cmp(a.value_, b.value_) <=> 0;
    }

private:
    fmpz_t value_;
};

// A whole number of any length as a user types it (WholeNumberDigits: the
// period command's inputs and moduli, the Python module's texts), read
// exactly. std::invalid_argument otherwise, its what() saying why
// (NotAWholeNumber): "'2.5' is not a whole number in decimal digits".
BigInt ReadBigWholeNumber(std::string_view text);

// The residue of x modulo m (m > 0), in 0 … m − 1.
BigInt Residue(const BigInt& x, const BigInt& m);

// The largest modulus the period engine takes, 2^127 − 1.
BigInt PeriodModulusMax();

} // namespace fibmod
