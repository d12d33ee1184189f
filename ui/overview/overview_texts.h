// SPDX-License-Identifier: MIT
// What the overview decides and says, without Qt: refusals, the summary, a row's figures and the detail line.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"
#include "core/engine/term_bound.h"
#include "ui/overview/kept_rows.h"

namespace fibmod::overview {

// The largest modulus the overview's range offers, in the window and on the page.
inline constexpr int kOverviewModulusMax = 1'000'000;

// How many rows are of each kind the summary counts.
struct RowTally {
    std::int64_t singleCommon = 0;
    std::int64_t runTimeErrors = 0;
    std::int64_t neverRecurring = 0;

    // Counts one more row.
    void add(const ScanRow& row);
};

// Why the overview will not scan `range` with `maxTerms` for the inputs, in
// one German line; empty when it will. Inputs whose reading is itself a
// run-time error are scanned: every row then reports it.
std::string Refusal(const InputTexts& inputs, ModulusRange range, TermBound maxTerms);

// Where a scan stands, for the summary's ending.
enum class ScanState { Done, Computing, Cancelled };

// The summary line: "1999 Moduln, 3 mit genau einem gemeinsamen Rest, …".
std::string Summary(std::int64_t rows, const RowTally& tally, ScanState state);

// A row's figures, as the chart's tooltip shows them (four lines, or the
// modulus and the failure) or as the detail line begins ("Modul 7: Zykellänge
// Folge 1: 16, Zykellänge Folge 2: 8, 4 gemeinsame Reste").
enum class FiguresLayout { Tooltip, DetailLine };
std::string FiguresText(const RowFigures& row, FiguresLayout layout);

// The detail line of a clicked modulus: its figures and the first
// `listed` residues (" …" when there are more), and a second line where the
// main window cannot show the same: above kModulusMax, or computed with
// another bound than the window's.
std::string DetailText(const ScanRow& row, TermBound maxTerms, std::size_t listed = 300);

} // namespace fibmod::overview
