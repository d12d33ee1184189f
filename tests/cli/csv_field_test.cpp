// RFC 4180 quoting of single CSV fields.
#include "cli/csv_field.h"

#include <gtest/gtest.h>

namespace fibmod::cli {
namespace {

TEST(CsvField, LeavesPlainFieldsAlone)
{
    EXPECT_EQ(CsvField(""), "");
    EXPECT_EQ(CsvField("1 2 4"), "1 2 4");
    EXPECT_EQ(CsvField("Laufzeitfehler 9: Index außerhalb des gültigen Bereichs"),
              "Laufzeitfehler 9: Index außerhalb des gültigen Bereichs");
    EXPECT_EQ(CsvField("tab\there; semi"), "tab\there; semi");
}

TEST(CsvField, QuotesFieldsWithACommaQuoteOrLineBreak)
{
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("line\r\nnext"), "\"line\r\nnext\"");
    EXPECT_EQ(CsvField("cr\r"), "\"cr\r\"");
    EXPECT_EQ(CsvField("\n"), "\"\n\"");
}

TEST(CsvField, DoublesEveryQuoteInsideTheQuotes)
{
    EXPECT_EQ(CsvField("\""), "\"\"\"\"");
    EXPECT_EQ(CsvField("say \"hi\", then"), "\"say \"\"hi\"\", then\"");
}

} // namespace
} // namespace fibmod::cli
