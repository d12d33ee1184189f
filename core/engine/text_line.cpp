// SPDX-License-Identifier: MIT
// Cells laid out in columns of fixed widths.
#include "core/engine/text_line.h"

#include <algorithm>

namespace fibmod {

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

} // namespace fibmod
