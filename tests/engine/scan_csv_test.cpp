// SPDX-License-Identifier: MIT
// The scan's CSV: quoting, line ends, and every modulus of a real scan.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/engine/row_columns.h"
#include "core/engine/run_time_error.h"
#include "core/engine/scan.h"
#include "core/engine/scan_csv.h"
#include "tests/support/collected_scan.h"

namespace fibmod {
namespace {

constexpr const char* kHeader = "modulus,length1,length2,common_count,common_residues,error\r\n";

ScanRow Row(std::int32_t modulus, std::int32_t length1, std::int32_t length2, std::vector<std::int64_t> residues)
{
    ScanRow row;
    row.modulus = modulus;
    row.length1 = length1;
    row.length2 = length2;
    row.residues = std::move(residues);
    return row;
}

ScanRow Failed(std::int32_t modulus, int error, std::string message)
{
    ScanRow row;
    row.modulus = modulus;
    row.failure = RowFailure{RowFailure::Kind::RunTimeError, error, std::move(message)};
    return row;
}

TEST(CsvFieldTest, QuotesOnlyWhatRfc4180Requires)
{
    EXPECT_EQ(CsvField(""), "");
    EXPECT_EQ(CsvField("1 2 3"), "1 2 3");
    EXPECT_EQ(CsvField("Laufzeitfehler 9: Index außerhalb des gültigen Bereichs"),
              "Laufzeitfehler 9: Index außerhalb des gültigen Bereichs");
    EXPECT_EQ(CsvField("tab\there; semi"), "tab\there; semi");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("er sagte \"nein\""), "\"er sagte \"\"nein\"\"\"");
    EXPECT_EQ(CsvField("\""), "\"\"\"\"");
    EXPECT_EQ(CsvField("zwei\r\nZeilen"), "\"zwei\r\nZeilen\"");
    EXPECT_EQ(CsvField("nur\nLF"), "\"nur\nLF\"");
    EXPECT_EQ(CsvField("nur\rCR"), "\"nur\rCR\"");
}

TEST(ScanCsvTest, WritesHeaderAndOneCrLfLinePerRow)
{
    EXPECT_EQ(ScanCsv({}), kHeader);

    const std::vector<ScanRow> rows{
        Row(7, 16, 8, {1}),
        Row(3, 8, 4, {1, 2}),
        Row(12, 24, 12, {}),
        Failed(1999, 9, SubscriptOutOfRange().message()),
    };
    EXPECT_EQ(ScanCsv(rows), std::string(kHeader) +
                                 "7,16,8,1,1,\r\n"
                                 "3,8,4,2,1 2,\r\n"
                                 "12,24,12,0,,\r\n"
                                 "1999,,,,,Laufzeitfehler 9: Index außerhalb des gültigen Bereichs\r\n");
}

TEST(ScanCsvTest, QuotesAMessageThatNeedsIt)
{
    const std::vector<ScanRow> rows{Failed(2, 6, "Überlauf, \"groß\"")};
    EXPECT_EQ(ScanCsv(rows), std::string(kHeader) + "2,,,,,\"Überlauf, \"\"groß\"\"\"\r\n");
}

TEST(ScanCsvTest, CoversEveryModulusOfARealScan)
{
    const auto rows = Scan(kDesignTimeInputs, {});
    ASSERT_TRUE(rows.has_value());
    const std::string csv = ScanCsv(*rows);
    std::size_t lines = 0;
    for (std::size_t at = csv.find('\n'); at != std::string::npos; at = csv.find('\n', at + 1)) {
        ASSERT_GT(at, 0u);
        EXPECT_EQ(csv[at - 1], '\r');
        ++lines;
    }
    EXPECT_EQ(lines, 1u + static_cast<std::size_t>(kModulusMax - kModulusMin + 1));
    EXPECT_TRUE(csv.ends_with("\r\n"));
    EXPECT_NE(csv.find("\r\n4,"), std::string::npos);
    EXPECT_NE(csv.find("\r\n2000,"), std::string::npos);
}

} // namespace
} // namespace fibmod

namespace fibmod {
namespace {

TEST(ChosenColumnsTest, KeepTheNamedOrderAndRefuseUnknownRepeatedOrNoNames)
{
    const std::vector<std::string> names{"error", "modulus", "common_count"};
    const ColumnChoice choice = ChooseColumns(names);
    EXPECT_EQ(choice.problem, "");
    EXPECT_EQ(choice.columns, (std::vector<RowColumn>{RowColumn::Error, RowColumn::Modulus, RowColumn::CommonCount}));
    ScanRow row;
    row.modulus = 7;
    row.unlistedCount = 2;
    std::string line;
    AppendScanCsvLine(line, row, choice.columns);
    EXPECT_EQ(line, ",7,2\r\n");
    EXPECT_EQ(ScanCsvHeader(choice.columns), "error,modulus,common_count\r\n");
    for (const std::vector<std::string>& bad : {std::vector<std::string>{}, std::vector<std::string>{"modulus", "modulus"},
                                                std::vector<std::string>{"lenght1"}, std::vector<std::string>{""}}) {
        const ColumnChoice refused = ChooseColumns(bad);
        EXPECT_TRUE(refused.columns.empty());
        EXPECT_NE(refused.problem.find("the columns are modulus, length1, length2, common_count, common_residues, error"),
                  std::string::npos)
            << refused.problem;
    }
}

TEST(ResidueListTest, WritesTheFirstResiduesOfEitherWidthAsTheCellDoes)
{
    ScanRow row;
    row.modulus = 5000;
    row.residues = {0, 7, 4294967295, 12};
    std::string wide;
    EXPECT_EQ(AppendResidues(wide, row.residues), 4u);
    EXPECT_EQ(wide, CellText(row, RowColumn::CommonResidues));
    const std::vector<std::uint32_t> narrow{0, 7, 4294967295u, 12};
    std::string first;
    EXPECT_EQ(AppendResidues(first, narrow, 3), 3u);
    EXPECT_EQ(first, "0 7 4294967295");
    std::string none = "x";
    EXPECT_EQ(AppendResidues(none, narrow, 0), 0u);
    EXPECT_EQ(none, "x");
}

} // namespace
} // namespace fibmod
