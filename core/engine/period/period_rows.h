// SPDX-License-Identifier: MIT
// The period rows' columns and their text: an aligned table, CSV and JSON.
// Free of FLINT: the numbers come as decimal text, so that any front end
// (also one whose numbers are machine words) writes the same bytes.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/text_line.h"

namespace fibmod {

// A column of a period row, in the order every front end shows them.
enum class PeriodColumn { Modulus, Preperiod1, Length1, Preperiod2, Length2, Factors };

// Every column, in order.
inline constexpr std::array<PeriodColumn, 6> kPeriodColumns{PeriodColumn::Modulus,    PeriodColumn::Preperiod1,
                                                            PeriodColumn::Length1,    PeriodColumn::Preperiod2,
                                                            PeriodColumn::Length2,    PeriodColumn::Factors};

// The column's name: the CSV header's, JSON's key, Python's column.
constexpr std::string_view PeriodColumnName(PeriodColumn column)
{
    switch (column) {
    case PeriodColumn::Modulus: return "modulus";
    case PeriodColumn::Preperiod1: return "preperiod1";
    case PeriodColumn::Length1: return "length1";
    case PeriodColumn::Preperiod2: return "preperiod2";
    case PeriodColumn::Length2: return "length2";
    case PeriodColumn::Factors: return "factors";
    }
    return {};
}

// The column's heading in the table.
constexpr std::string_view PeriodColumnHeading(PeriodColumn column)
{
    switch (column) {
    case PeriodColumn::Modulus: return "Modul";
    case PeriodColumn::Preperiod1: return "Vorlauf 1";
    case PeriodColumn::Length1: return "Zykellänge 1";
    case PeriodColumn::Preperiod2: return "Vorlauf 2";
    case PeriodColumn::Length2: return "Zykellänge 2";
    case PeriodColumn::Factors: return "Zerlegung";
    }
    return {};
}

// p^e, the prime in decimal digits.
struct PrimePowerText {
    std::string prime;
    unsigned exponent = 1;
};

// One modulus's row, every number in plain decimal digits: the modulus, each
// sequence's pre-period and period, and the modulus's prime powers in
// ascending primes (none for 1).
struct PeriodRowText {
    std::string modulus;
    std::array<std::string, 2> preperiod;
    std::array<std::string, 2> length;
    std::vector<PrimePowerText> factors;
};

// The prime powers as the column "factors" holds them: "p^e" where e > 1,
// single blanks between, e.g. "2^3 3 5^2"; "1" for none.
std::string FactorsText(std::span<const PrimePowerText> factors);

// The CSV header "modulus,preperiod1,length1,preperiod2,length2,factors",
// ended by CR LF.
std::string PeriodCsvHeader();

// Appends the row's CSV line, ended by CR LF. No field holds a comma, a
// quote or a line end, so none is quoted.
void AppendPeriodCsvLine(std::string& out, const PeriodRowText& row);

// Appends the row as an object of a JSON array, the numbers exact integers
// and the factors [p, e] pairs: "[\n" before the `first` row, ",\n" before
// any other. PeriodJsonClosing ends the array.
void AppendPeriodJsonRow(std::string& out, const PeriodRowText& row, bool first);

// What ends the JSON array: "[]\n" when no row was written, else "\n]\n".
std::string PeriodJsonClosing(bool anyRow);

// The digits a period modulo M of `modulusDigits` digits may have: it stays
// below M² (below 10·M for s = ±1, as for Fibonacci, on all but rare M).
constexpr std::size_t PeriodLengthDigits(std::size_t modulusDigits, bool unitS)
{
    return unitS ? modulusDigits + 1 : 2 * modulusDigits;
}

// The rows as an aligned table under German headings: the numbers right
// aligned, the factors left. Each column is at least as wide as its heading
// and as the widths given; a cell wider than its column widens it from its
// row on (the rows above keep their layout).
class PeriodTable {
public:
    // Moduli of up to `modulusDigits` digits, each sequence's period of up
    // to `lengthDigits` digits (see PeriodLengthDigits).
    PeriodTable(std::size_t modulusDigits, std::array<std::size_t, 2> lengthDigits);

    // The heading line, ended by a line feed.
    std::string head() const;

    // Appends the row's line, ended by a line feed.
    void appendRow(std::string& out, const PeriodRowText& row);

private:
    std::array<ColumnShape, kPeriodColumns.size()> shapes_;
};

} // namespace fibmod
