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

std::string ScanCsvHeader()
{
    std::string header;
    for (const RowColumn column : kRowColumns) {
        if (!header.empty()) header += ',';
        header += ColumnName(column);
    }
    return header + "\r\n";
}

std::string ScanCsvLine(const ScanRow& row)
{
    std::string csv;
    for (const RowColumn column : kRowColumns) {
        if (column != kRowColumns.front()) csv += ',';
        if (column == RowColumn::Error)
            csv += CsvField(CellText(row, column));
        else
            AppendCellText(csv, row, column);
    }
    csv += "\r\n";
    return csv;
}

std::string ScanCsv(std::span<const ScanRow> rows)
{
    std::string csv = ScanCsvHeader();
    for (const ScanRow& row : rows) csv += ScanCsvLine(row);
    return csv;
}

} // namespace fibmod
