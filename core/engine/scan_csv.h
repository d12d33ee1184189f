// SPDX-License-Identifier: MIT
// A scan's rows as comma-separated values (RFC 4180), the same wherever the program writes them.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/engine/scan.h"

namespace fibmod {

// One CSV field as RFC 4180 writes it: quoted when it holds a comma, a
// quote, CR or LF, with each quote doubled; otherwise unchanged.
std::string CsvField(std::string_view text);

// The CSV header line, ended by CR LF.
std::string ScanCsvHeader();

// One row as a CSV line, ended by CR LF (see ScanCsv).
std::string ScanCsvLine(const ScanRow& row);

// The scan's rows as CSV, the same wherever the program writes them: the
// header line "modulus,length1,length2,common_count,common_residues,error",
// then one line per row in the given order. Numbers are plain decimals, the
// residues one blank apart in ascending order. A row with a run-time error
// leaves the four number columns empty and holds the window's message in
// "error". Every line, the last included, ends with CR LF.
std::string ScanCsv(std::span<const ScanRow> rows);

} // namespace fibmod
