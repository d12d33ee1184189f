// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/scan.h"

namespace fibmod {

// The columns of a scan's rows, in the CSV's order.
enum class ScanColumn { Modulus, Length1, Length2, CommonCount, CommonResidues, Error };

// Their names, the CSV header's and the JSON keys, in the same order.
inline constexpr std::array<std::string_view, 6> kScanColumnNames{
    "modulus", "length1", "length2", "common_count", "common_residues", "error"};

// Every column in order.
std::vector<ScanColumn> AllScanColumns();

// The column of a name; none for an unknown one.
std::optional<ScanColumn> ScanColumnNamed(std::string_view name);

// The cell's plain text appended to `out`: decimals (std::to_chars, no
// locale), the residues one blank apart, the failure's message in "error".
// A failed row's number columns and a good row's "error" are empty.
void AppendScanCell(std::string& out, const ScanRow& row, ScanColumn column);

// One CSV field as RFC 4180 writes it: quoted when it holds a comma, a
// quote, CR or LF, with each quote doubled; otherwise unchanged.
std::string CsvField(std::string_view text);

// The CSV header line, ended by CR LF: every column, or the given ones.
std::string ScanCsvHeader();
std::string ScanCsvHeader(std::span<const ScanColumn> columns);

// One row as a CSV line, ended by CR LF (see ScanCsv): every column, or the
// given ones appended to `out`.
std::string ScanCsvLine(const ScanRow& row);
void AppendScanCsvLine(std::string& out, const ScanRow& row, std::span<const ScanColumn> columns);

// The scan's rows as CSV, the same wherever the program writes them: the
// header line "modulus,length1,length2,common_count,common_residues,error",
// then one line per row in the given order. Numbers are plain decimals, the
// residues one blank apart in ascending order. A row with a run-time error
// leaves the four number columns empty and holds the window's message in
// "error". Every line, the last included, ends with CR LF.
std::string ScanCsv(std::span<const ScanRow> rows);

} // namespace fibmod
