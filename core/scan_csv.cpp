// SPDX-License-Identifier: MIT
// The scan's rows as comma-separated values.
#include "core/scan_csv.h"

#include <charconv>
#include <iterator>

namespace fibmod {

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

namespace {

void AppendNumber(std::string& out, std::int64_t n)
{
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), n).ptr;
    out.append(digits, end);
}

} // namespace

std::vector<ScanColumn> AllScanColumns()
{
    return {ScanColumn::Modulus,     ScanColumn::Length1,        ScanColumn::Length2,
            ScanColumn::CommonCount, ScanColumn::CommonResidues, ScanColumn::Error};
}

std::optional<ScanColumn> ScanColumnNamed(std::string_view name)
{
    for (std::size_t c = 0; c < kScanColumnNames.size(); ++c)
        if (kScanColumnNames[c] == name) return static_cast<ScanColumn>(c);
    return std::nullopt;
}

void AppendScanCell(std::string& out, const ScanRow& row, ScanColumn column)
{
    if (column == ScanColumn::Modulus) return AppendNumber(out, row.modulus);
    if (column == ScanColumn::Error) {
        if (row.failed()) out += row.failure->message;
        return;
    }
    if (row.failed()) return;
    switch (column) {
    case ScanColumn::Length1: return AppendNumber(out, row.length1);
    case ScanColumn::Length2: return AppendNumber(out, row.length2);
    case ScanColumn::CommonCount: return AppendNumber(out, row.commonCount());
    case ScanColumn::CommonResidues:
        for (std::size_t i = 0; i < row.residues.size(); ++i) {
            if (i != 0) out += ' ';
            AppendNumber(out, row.residues[i]);
        }
        return;
    default: return;
    }
}

std::string ScanCsvHeader() { return ScanCsvHeader(AllScanColumns()); }

std::string ScanCsvHeader(std::span<const ScanColumn> columns)
{
    std::string header;
    for (const ScanColumn column : columns) {
        if (!header.empty()) header += ',';
        header += kScanColumnNames[static_cast<std::size_t>(column)];
    }
    return header + "\r\n";
}

std::string ScanCsvLine(const ScanRow& row)
{
    std::string csv;
    AppendScanCsvLine(csv, row, AllScanColumns());
    return csv;
}

void AppendScanCsvLine(std::string& out, const ScanRow& row, std::span<const ScanColumn> columns)
{
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c != 0) out += ',';
        if (columns[c] == ScanColumn::Error) {
            if (row.failed()) out += CsvField(row.failure->message);
        } else {
            AppendScanCell(out, row, columns[c]);
        }
    }
    out += "\r\n";
}

std::string ScanCsv(std::span<const ScanRow> rows)
{
    std::string csv = ScanCsvHeader();
    for (const ScanRow& row : rows) csv += ScanCsvLine(row);
    return csv;
}

} // namespace fibmod
