// SPDX-License-Identifier: MIT
// Columns for the terminal and the lines of a field.
#include "cli/text_table.h"

#include <gmock/gmock.h>

namespace fibmod::cli {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(LayOutColumns, AlignsEachColumnToItsWidestCellCountingCharacters)
{
    const std::vector<TextColumn> columns{
        {{"Modul", "2", "10"}, Align::Right},
        {{"Zykellänge", "4"}, Align::Right},
        {{"Reste", "1 2", "x"}, Align::Left},
    };
    EXPECT_EQ(LayOutColumns(columns, 2),
              "Modul  Zykellänge  Reste\n"
              "    2           4  1 2\n"
              "   10              x\n");
}

TEST(LayOutColumns, EndsNoLineInBlanks)
{
    const std::vector<TextColumn> columns{{{"lang", "", "a"}, Align::Left}, {{"b"}, Align::Left}};
    EXPECT_EQ(LayOutColumns(columns, 3), "lang   b\n\na\n");
}

TEST(LinesOf, SplitsAtCrLfKeepingEmptyLines)
{
    EXPECT_THAT(LinesOf(""), IsEmpty());
    EXPECT_THAT(LinesOf(" 2\r\n\r\n 1\r\n"), ElementsAre(" 2", "", " 1"));
    EXPECT_THAT(LinesOf("a\r\nrest"), ElementsAre("a", "rest"));
    // A lone line feed or carriage return is part of its line.
    EXPECT_THAT(LinesOf("a\nb\r\n"), ElementsAre("a\nb"));
}

} // namespace
} // namespace fibmod::cli
