// SPDX-License-Identifier: MIT
// The scan's rows as comma-separated values.
#include "core/scan_csv.h"

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

std::string ScanCsvHeader() { return "modulus,length1,length2,common_count,common_residues,error\r\n"; }

std::string ScanCsvLine(const ScanRow& row)
{
    std::string csv = std::to_string(row.modulus);
    csv += ',';
    if (!row.failed()) {
        csv += std::to_string(row.length1);
        csv += ',';
        csv += std::to_string(row.length2);
        csv += ',';
        csv += std::to_string(row.commonCount());
        csv += ',';
        csv += row.residuesText();
        csv += ',';
    } else {
        csv += ",,,,";
        csv += CsvField(row.failure->message);
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
