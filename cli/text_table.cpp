// SPDX-License-Identifier: MIT
// Plain-text columns for a terminal.
#include "cli/text_table.h"

#include <algorithm>

#include "core/window/field_access.h"

namespace fibmod::cli {

std::size_t TextWidth(std::string_view text)
{
    // Every byte but the continuation bytes.
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string LayOutLine(std::span<const std::string> cells, std::span<const ColumnShape> shapes, std::size_t gap)
{
    std::string line;
    for (std::size_t c = 0; c < shapes.size(); ++c) {
        const std::string_view cell = c < cells.size() ? std::string_view(cells[c]) : std::string_view();
        const std::size_t width = TextWidth(cell);
        const std::size_t padding = shapes[c].width > width ? shapes[c].width - width : 0;
        if (c > 0) line.append(gap, ' ');
        if (shapes[c].align == Align::Right) line.append(padding, ' ');
        line.append(cell);
        if (shapes[c].align == Align::Left) line.append(padding, ' ');
    }
    line.erase(line.find_last_not_of(' ') + 1);
    line.push_back('\n');
    return line;
}

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
