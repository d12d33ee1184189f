// SPDX-License-Identifier: MIT
// The overview's decisions and lines as plain functions: refusals, the summary, a row's figures, the detail line.
#include <gtest/gtest.h>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"
#include "tests/support/collected_scan.h"
#include "ui/overview/overview_texts.h"

namespace {

using namespace fibmod::overview;

TEST(OverviewTextsTest, RefusesAnUpsideDownRangeAndNoBoundForFractionsOnly)
{
    EXPECT_EQ(Refusal(fibmod::kDesignTimeInputs, {50, 40}, 3000),
              "„von“ (50) ist größer als „bis“ (40): bitte „von“ kleiner oder „bis“ größer wählen.");
    EXPECT_EQ(Refusal(fibmod::kDesignTimeInputs, {2, 2000}, std::nullopt), "");
    fibmod::InputTexts fractions = fibmod::kDesignTimeInputs;
    fractions.r1 = "0.5";
    EXPECT_NE(Refusal(fractions, {2, 2000}, std::nullopt), "");
    EXPECT_EQ(Refusal(fractions, {2, 2000}, 3000), "");
    // Inputs the window cannot read are scanned: each row reports the error.
    fibmod::InputTexts huge = fibmod::kDesignTimeInputs;
    huge.r1 = "1e400";
    EXPECT_EQ(Refusal(huge, {2, 2000}, std::nullopt), "");
}

TEST(OverviewTextsTest, TheSummaryCountsEachKindAndSaysWhereTheScanStands)
{
    RowTally tally;
    const std::vector<fibmod::ScanRow> rows = *fibmod::Scan(fibmod::kDesignTimeInputs, {2, 30});
    for (const fibmod::ScanRow& row : rows) tally.add(row);
    const std::string done = Summary(29, tally, ScanState::Done);
    EXPECT_EQ(done, "29 Moduln, " + std::to_string(tally.singleCommon) +
                        " mit genau einem gemeinsamen Rest, 0 mit Laufzeitfehler, 0 mit nicht wiederkehrendem Startpaar");
    EXPECT_EQ(Summary(29, tally, ScanState::Computing), done + " – wird berechnet …");
    EXPECT_EQ(Summary(29, tally, ScanState::Cancelled), done + " – abgebrochen");
}

TEST(OverviewTextsTest, OneRowsFiguresAsTooltipAndAsDetailLine)
{
    const fibmod::ScanRow row = fibmod::Scan(fibmod::kDesignTimeInputs, {7, 7})->front();
    const RowFigures figures{row.modulus, row.length1, row.length2, row.commonCount(), nullptr};
    const std::string lengths = "Zykellänge Folge 1: " + std::to_string(row.length1) +
                                "\nZykellänge Folge 2: " + std::to_string(row.length2);
    EXPECT_EQ(FiguresText(figures, FiguresLayout::Tooltip),
              "Modul 7\n" + lengths + "\nAnzahl gemeinsamer Reste: " + std::to_string(row.commonCount()));
    EXPECT_EQ(DetailText(row, fibmod::kWindowTermBound),
              "Modul 7: Zykellänge Folge 1: " + std::to_string(row.length1) + ", Zykellänge Folge 2: " +
                  std::to_string(row.length2) + ", " + std::to_string(row.commonCount()) +
                  " gemeinsame Reste: " + row.residuesText());

    const fibmod::RowFailure failure{fibmod::RowFailure::Kind::NeverRecurs, 0, "Folge 2: Startpaar kehrt nicht wieder"};
    const RowFigures failed{9, 0, 0, 0, &failure};
    EXPECT_EQ(FiguresText(failed, FiguresLayout::Tooltip), "Modul 9\nFolge 2: Startpaar kehrt nicht wieder");
    EXPECT_EQ(FiguresText(failed, FiguresLayout::DetailLine), "Modul 9: Folge 2: Startpaar kehrt nicht wieder");
}

TEST(OverviewTextsTest, TheDetailLineCutsLongListsAndSaysWhereTheMainWindowDiffers)
{
    fibmod::ScanRow row;
    row.modulus = 5000;
    for (std::int64_t residue = 0; residue < 5; ++residue) row.residues.push_back(residue);
    const std::string cut = DetailText(row, fibmod::kWindowTermBound, 3);
    EXPECT_NE(cut.find("5 gemeinsame Reste: 0 1 2 …\n"), std::string::npos) << cut;
    EXPECT_NE(cut.find("\nDas Hauptfenster reicht nur bis 2000; diesen Modul zeigt nur die Übersicht."),
              std::string::npos);
    row.modulus = 50;
    EXPECT_NE(DetailText(row, std::nullopt).find("\nDas Hauptfenster rechnet mit höchstens 3000 Gliedern"),
              std::string::npos);
    EXPECT_EQ(DetailText(row, fibmod::kWindowTermBound).find('\n'), std::string::npos);
}

} // namespace
