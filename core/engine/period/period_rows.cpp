// SPDX-License-Identifier: MIT
// The period rows as text: table lines, CSV lines and JSON objects.
#include "core/engine/period/period_rows.h"

#include <algorithm>

namespace fibmod {

std::string FactorsText(std::span<const PrimePowerText> factors)
{
    if (factors.empty()) return "1";
    std::string text;
    for (const PrimePowerText& factor : factors) {
        if (!text.empty()) text += ' ';
        text += factor.prime;
        if (factor.exponent > 1) text += '^' + std::to_string(factor.exponent);
    }
    return text;
}

std::string PeriodCsvHeader()
{
    std::string header;
    for (const PeriodColumn column : kPeriodColumns) {
        if (!header.empty()) header += ',';
        header += PeriodColumnName(column);
    }
    return header + "\r\n";
}

void AppendPeriodCsvLine(std::string& out, const PeriodRowText& row)
{
    out += row.modulus;
    for (std::size_t i = 0; i < 2; ++i) {
        out += ',';
        out += row.preperiod[i];
        out += ',';
        out += row.length[i];
    }
    out += ',';
    out += FactorsText(row.factors);
    out += "\r\n";
}

void AppendPeriodJsonRow(std::string& out, const PeriodRowText& row, bool first)
{
    out += first ? "[\n" : ",\n";
    out += "  {\n    \"modulus\": ";
    out += row.modulus;
    for (std::size_t i = 0; i < 2; ++i) {
        const char* const number = i == 0 ? "1" : "2";
        out += ",\n    \"preperiod";
        out += number;
        out += "\": ";
        out += row.preperiod[i];
        out += ",\n    \"length";
        out += number;
        out += "\": ";
        out += row.length[i];
    }
    out += ",\n    \"factors\": [";
    for (std::size_t f = 0; f < row.factors.size(); ++f) {
        out += f == 0 ? "[" : ", [";
        out += row.factors[f].prime;
        out += ", ";
        out += std::to_string(row.factors[f].exponent);
        out += ']';
    }
    out += "]\n  }";
}

std::string PeriodJsonClosing(bool anyRow) { return anyRow ? "\n]\n" : "[]\n"; }

PeriodTable::PeriodTable(std::size_t modulusDigits, std::array<std::size_t, 2> lengthDigits)
{
    const std::array<std::size_t, kPeriodColumns.size()> widest{modulusDigits, 0, lengthDigits[0], 0,
                                                                lengthDigits[1], 0};
    for (std::size_t c = 0; c < kPeriodColumns.size(); ++c) {
        shapes_[c].width = std::max(TextWidth(PeriodColumnHeading(kPeriodColumns[c])), widest[c]);
        shapes_[c].align = kPeriodColumns[c] == PeriodColumn::Factors ? Align::Left : Align::Right;
    }
}

std::string PeriodTable::head() const
{
    std::array<std::string, kPeriodColumns.size()> headings;
    for (std::size_t c = 0; c < kPeriodColumns.size(); ++c) headings[c] = PeriodColumnHeading(kPeriodColumns[c]);
    return LayOutLine(headings, shapes_, 2);
}

void PeriodTable::appendRow(std::string& out, const PeriodRowText& row)
{
    const std::array<std::string, kPeriodColumns.size()> cells{
        row.modulus,   row.preperiod[0], row.length[0], row.preperiod[1],
        row.length[1], FactorsText(row.factors),
    };
    for (std::size_t c = 0; c + 1 < cells.size(); ++c) shapes_[c].width = std::max(shapes_[c].width, cells[c].size());
    out += LayOutLine(cells, shapes_, 2);
}

} // namespace fibmod
