// SPDX-License-Identifier: MIT
// Text laid out in columns of a fixed width, for the command line's tables.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/text_line.h"

namespace fibmod::cli {

// One line of a table is the engine's (the period rows lay theirs out too).
using fibmod::Align;
using fibmod::ColumnShape;
using fibmod::LayOutLine;
using fibmod::TextWidth;

// One column of a plain-text table: its cells from the top, the first one
// usually its heading.
struct TextColumn {
    std::vector<std::string> cells;
    Align align = Align::Left;
};

// The columns side by side, each as wide as its widest cell (counted in
// characters of UTF-8 text), separated by `gap` blanks. A shorter column
// leaves blank cells below its last one. No line ends in blanks; every line
// ends with a line feed.
std::string LayOutColumns(std::span<const TextColumn> columns, std::size_t gap);

// The lines of a field's text, whose lines end with CR LF: without their line
// ends, empty lines kept. A rest after the last line end is one more line.
std::vector<std::string> LinesOf(std::string_view fieldText);

} // namespace fibmod::cli
