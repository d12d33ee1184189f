// SPDX-License-Identifier: MIT
// Plain-text columns for a terminal.
#include "cli/text_table.h"

#include <algorithm>

#include "core/window/field_access.h"

namespace fibmod::cli {

std::string LayOutColumns(std::span<const TextColumn> columns, std::size_t gap)
{
    std::vector<ColumnShape> shapes;
    std::size_t rows = 0;
    for (const TextColumn& column : columns) {
        std::size_t widest = 0;
        for (const std::string& cell : column.cells) widest = std::max(widest, TextWidth(cell));
        shapes.push_back({widest, column.align});
        rows = std::max(rows, column.cells.size());
    }

    std::string out;
    std::vector<std::string> cells(columns.size());
    for (std::size_t row = 0; row < rows; ++row) {
        for (std::size_t c = 0; c < columns.size(); ++c)
            cells[c] = row < columns[c].cells.size() ? columns[c].cells[row] : std::string();
        out += LayOutLine(cells, shapes, gap);
    }
    return out;
}

std::vector<std::string> LinesOf(std::string_view fieldText)
{
    std::vector<std::string> lines;
    for (std::size_t end; (end = fieldText.find(kLineEnd)) != std::string_view::npos;) {
        lines.emplace_back(fieldText.substr(0, end));
        fieldText.remove_prefix(end + kLineEnd.size());
    }
    if (!fieldText.empty()) lines.emplace_back(fieldText);
    return lines;
}

} // namespace fibmod::cli
