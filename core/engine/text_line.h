// SPDX-License-Identifier: MIT
// One line of cells laid out in columns of fixed widths, for plain-text tables.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace fibmod {

// Where a cell stands in its column: at its left or its right edge.
enum class Align { Left, Right };

// A column's width (in characters of UTF-8 text) and alignment.
struct ColumnShape {
    std::size_t width = 0;
    Align align = Align::Left;
};

// Characters of a UTF-8 text.
std::size_t TextWidth(std::string_view text);

// One line of cells in columns of the given shapes, separated by `gap`
// blanks; a cell wider than its column pushes the rest to the right. The
// line does not end in blanks, and ends with a line feed.
std::string LayOutLine(std::span<const std::string> cells, std::span<const ColumnShape> shapes, std::size_t gap);

} // namespace fibmod
