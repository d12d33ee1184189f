// SPDX-License-Identifier: MIT
// The scan's rows as comma-separated values.
#include "core/engine/scan_csv.h"

#include "core/engine/row_columns.h"

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

std::string ScanCsvHeader() { return ScanCsvHeader(kRowColumns); }

std::string ScanCsvHeader(std::span<const RowColumn> columns)
{
    std::string header;
    for (const RowColumn column : columns) {
        if (!header.empty()) header += ',';
        header += ColumnName(column);
    }
    return header + "\r\n";
}

std::string ScanCsvLine(const ScanRow& row)
{
    std::string csv;
    AppendScanCsvLine(csv, row, kRowColumns);
    return csv;
}

void AppendScanCsvLine(std::string& out, const ScanRow& row, std::span<const RowColumn> columns)
{
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (c != 0) out += ',';
        if (columns[c] == RowColumn::Error)
            out += CsvField(CellText(row, columns[c]));
        else
            AppendCellText(out, row, columns[c]);
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
