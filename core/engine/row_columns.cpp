// SPDX-License-Identifier: MIT
// A scan row's cells as text.
#include "core/engine/row_columns.h"

#include <algorithm>
#include <charconv>

namespace fibmod {

namespace {

void AppendNumber(std::string& out, std::int64_t n)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out.append(digits, end);
}

template <class Residue> std::size_t AppendList(std::string& out, std::span<const Residue> residues, std::size_t most)
{
    const std::size_t listed = std::min(residues.size(), most);
    for (std::size_t i = 0; i < listed; ++i) {
        if (i > 0) out += ' ';
        AppendNumber(out, static_cast<std::int64_t>(residues[i]));
    }
    return listed;
}

} // namespace

ColumnChoice ChooseColumns(std::span<const std::string> names)
{
    std::string valid;
    for (const RowColumn column : kRowColumns) valid += (valid.empty() ? "" : ", ") + std::string(ColumnName(column));
    ColumnChoice choice;
    const auto refuse = [&](const std::string& why) {
        choice.columns.clear();
        choice.problem = why + "; the columns are " + valid;
        return choice;
    };
    if (names.empty()) return refuse("no column named");
    for (const std::string& name : names) {
        const std::optional<RowColumn> column = ColumnNamed(name);
        if (!column) return refuse("unknown column \"" + name + "\"");
        for (const RowColumn chosen : choice.columns)
            if (chosen == *column) return refuse("column \"" + name + "\" named twice");
        choice.columns.push_back(*column);
    }
    return choice;
}

bool IsEmptyCell(const ScanRow& row, RowColumn column)
{
    if (column == RowColumn::Modulus) return false;
    if (column == RowColumn::Error) return !row.failed();
    return row.failed();
}

std::int64_t CellNumber(const ScanRow& row, RowColumn column)
{
    switch (column) {
    case RowColumn::Modulus: return row.modulus;
    case RowColumn::Length1: return row.length1;
    case RowColumn::Length2: return row.length2;
    case RowColumn::CommonCount: return row.commonCount();
    case RowColumn::CommonResidues:
    case RowColumn::Error: break;
    }
    return 0;
}

void AppendCellText(std::string& out, const ScanRow& row, RowColumn column)
{
    if (IsEmptyCell(row, column)) return;
    if (IsNumberColumn(column)) {
        AppendNumber(out, CellNumber(row, column));
    } else if (column == RowColumn::CommonResidues) {
        AppendResidues(out, row.residues);
    } else {
        out += row.failure->message;
    }
}

std::size_t AppendResidues(std::string& out, std::span<const std::int64_t> residues, std::size_t most)
{
    return AppendList(out, residues, most);
}

std::size_t AppendResidues(std::string& out, std::span<const std::uint32_t> residues, std::size_t most)
{
    return AppendList(out, residues, most);
}

std::string CellText(const ScanRow& row, RowColumn column)
{
    std::string text;
    AppendCellText(text, row, column);
    return text;
}

} // namespace fibmod
