// SPDX-License-Identifier: MIT
// Plain-text columns for a terminal.
#include "cli/text_table.h"

#include <algorithm>

#include "core/field_access.h"

namespace fibmod::cli {

namespace {

// Characters of a UTF-8 text: every byte but the continuation bytes.
std::size_t Width(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

} // namespace

std::string LayOutColumns(std::span<const TextColumn> columns, std::size_t gap)
{
    std::vector<std::size_t> widths;
    std::size_t rows = 0;
    for (const TextColumn& column : columns) {
        std::size_t widest = 0;
        for (const std::string& cell : column.cells) widest = std::max(widest, Width(cell));
        widths.push_back(widest);
        rows = std::max(rows, column.cells.size());
    }

    std::string out;
    std::string line;
    for (std::size_t row = 0; row < rows; ++row) {
        line.clear();
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::string_view cell =
                row < columns[c].cells.size() ? std::string_view(columns[c].cells[row]) : std::string_view();
            const std::size_t padding = widths[c] - Width(cell);
            if (c > 0) line.append(gap, ' ');
            if (columns[c].align == Align::Right) line.append(padding, ' ');
            line.append(cell);
            if (columns[c].align == Align::Left) line.append(padding, ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out.append(line).push_back('\n');
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
