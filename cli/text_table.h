// SPDX-License-Identifier: MIT
// Text laid out in columns of a fixed width, for the command line's tables.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fibmod::cli {

// Where a cell stands in its column: at its left or its right edge.
enum class Align { Left, Right };

// One column of a plain-text table: its cells from the top, the first one
// usually its heading.
struct TextColumn {
    std::vector<std::string> cells;
    Align align = Align::Left;
};

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

// The columns side by side, each as wide as its widest cell (counted in
// characters of UTF-8 text), separated by `gap` blanks. A shorter column
// leaves blank cells below its last one. No line ends in blanks; every line
// ends with a line feed.
std::string LayOutColumns(std::span<const TextColumn> columns, std::size_t gap);

// The lines of a field's text, whose lines end with CR LF: without their line
// ends, empty lines kept. A rest after the last line end is one more line.
std::vector<std::string> LinesOf(std::string_view fieldText);

} // namespace fibmod::cli
