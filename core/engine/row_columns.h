// SPDX-License-Identifier: MIT
// The six columns of a scan row: their names, their order, and each cell as text or as an empty cell.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/scan_row.h"

namespace fibmod {

// A column of a scan row, in the order every front end shows them.
enum class RowColumn { Modulus, Length1, Length2, CommonCount, CommonResidues, Error };

// Every column, in order.
inline constexpr std::array<RowColumn, 6> kRowColumns{RowColumn::Modulus,     RowColumn::Length1,
                                                      RowColumn::Length2,     RowColumn::CommonCount,
                                                      RowColumn::CommonResidues, RowColumn::Error};

// The column's name: the CSV header's, JSON's key, Python's column.
constexpr std::string_view ColumnName(RowColumn column)
{
    switch (column) {
    case RowColumn::Modulus: return "modulus";
    case RowColumn::Length1: return "length1";
    case RowColumn::Length2: return "length2";
    case RowColumn::CommonCount: return "common_count";
    case RowColumn::CommonResidues: return "common_residues";
    case RowColumn::Error: return "error";
    }
    return {};
}

// The column of that name; none for any other text.
constexpr std::optional<RowColumn> ColumnNamed(std::string_view name)
{
    for (const RowColumn column : kRowColumns)
        if (ColumnName(column) == name) return column;
    return std::nullopt;
}

// The columns a list of names chooses, in its order, or why it chooses none.
struct ColumnChoice {
    std::vector<RowColumn> columns;
    // Empty, or one line for the user: an unknown or repeated name or an
    // empty list, followed by the valid names.
    std::string problem;
};

// The choice of `names` (a front end's column option: the command line's
// --columns, Python's columns=).
ColumnChoice ChooseColumns(std::span<const std::string> names);

// True for the columns that hold a whole number.
constexpr bool IsNumberColumn(RowColumn column)
{
    return column == RowColumn::Modulus || column == RowColumn::Length1 || column == RowColumn::Length2 ||
           column == RowColumn::CommonCount;
}

// True when the row has nothing in this column: a failed row's figures and
// residues, a good row's error. (A good row with no common residue has an
// empty list there, which is not an empty cell.)
bool IsEmptyCell(const ScanRow& row, RowColumn column);

// The cell's number, for a number column that is not empty.
std::int64_t CellNumber(const ScanRow& row, RowColumn column);

// Appends the cell as plain text to `out`: numbers in decimal digits, the
// residues ascending and one blank apart, the error's German line; nothing
// for an empty cell.
void AppendCellText(std::string& out, const ScanRow& row, RowColumn column);

// The same as a new text.
std::string CellText(const ScanRow& row, RowColumn column);

// Appends the first `most` of `residues` as the residues' cell writes them:
// in the order given, in decimal digits, one blank apart. Returns how many
// it wrote. For the rows as a front end keeps them, which may hold them in
// narrower numbers.
std::size_t AppendResidues(std::string& out, std::span<const std::int64_t> residues,
                           std::size_t most = std::numeric_limits<std::size_t>::max());
std::size_t AppendResidues(std::string& out, std::span<const std::uint32_t> residues,
                           std::size_t most = std::numeric_limits<std::size_t>::max());

} // namespace fibmod
