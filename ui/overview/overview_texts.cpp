// SPDX-License-Identifier: MIT
// The overview's refusals, summary, figures and detail line, as plain text.
#include "ui/overview/overview_texts.h"

#include <algorithm>

#include "core/engine/modulus_range.h"
#include "core/engine/modulus_row.h"
#include "core/engine/run_time_error.h"

namespace fibmod::overview {

void RowTally::add(const ScanRow& row)
{
    if (HasSingleCommonResidue(row)) ++singleCommon;
    if (row.runTimeError()) ++runTimeErrors;
    if (row.neverRecurs()) ++neverRecurring;
}

std::string Refusal(const InputTexts& inputs, ModulusRange range, TermBound maxTerms)
{
    if (range.from > range.to) {
        return "„von“ (" + std::to_string(range.from) + ") ist größer als „bis“ (" + std::to_string(range.to) +
               "): bitte „von“ kleiner oder „bis“ größer wählen.";
    }
    Inputs values;
    try {
        values = ValuesOf(inputs);
    } catch (const RunTimeError&) {
        return {}; // every row then reports the error, as the main window would
    }
    return BoundProblem(values, maxTerms);
}

std::string Summary(std::int64_t rows, const RowTally& tally, ScanState state)
{
    std::string text = std::to_string(rows) + " Moduln, " + std::to_string(tally.singleCommon) +
                       " mit genau einem gemeinsamen Rest, " + std::to_string(tally.runTimeErrors) +
                       " mit Laufzeitfehler, " + std::to_string(tally.neverRecurring) +
                       " mit nicht wiederkehrendem Startpaar";
    switch (state) {
    case ScanState::Computing: text += " – wird berechnet …"; break;
    case ScanState::Cancelled: text += " – abgebrochen"; break;
    case ScanState::Done: break;
    }
    return text;
}

std::string FiguresText(const RowFigures& row, FiguresLayout layout)
{
    const bool tooltip = layout == FiguresLayout::Tooltip;
    std::string text = "Modul " + std::to_string(row.modulus) + (tooltip ? "\n" : ": ");
    if (row.failure != nullptr) return text + row.failure->message;
    const std::string between = tooltip ? "\n" : ", ";
    text += "Zykellänge Folge 1: " + std::to_string(row.length1) + between + "Zykellänge Folge 2: " +
            std::to_string(row.length2) + between;
    if (tooltip) return text + "Anzahl gemeinsamer Reste: " + std::to_string(row.commonCount);
    return text + std::to_string(row.commonCount) + " gemeinsame Reste";
}

std::string DetailText(const ScanRow& row, TermBound maxTerms, std::size_t listed)
{
    const RowFigures figures{row.modulus, row.length1, row.length2, row.commonCount(),
                             row.failure ? &*row.failure : nullptr};
    std::string text = FiguresText(figures, FiguresLayout::DetailLine);
    if (!row.failed()) {
        // The core's text of the residues, of the first few hundred.
        ScanRow shown;
        const std::size_t count = std::min(row.residues.size(), listed);
        shown.residues.assign(row.residues.begin(), row.residues.begin() + static_cast<std::ptrdiff_t>(count));
        text += ": " + shown.residuesText();
        if (count < row.residues.size()) text += " …";
    }
    if (row.modulus > kModulusMax) {
        text += "\nDas Hauptfenster reicht nur bis " + std::to_string(kModulusMax) +
                "; diesen Modul zeigt nur die Übersicht.";
    } else if (maxTerms != kWindowTermBound) {
        text += "\nDas Hauptfenster rechnet mit höchstens " + std::to_string(*kWindowTermBound) +
                " Gliedern und kann hier anderes zeigen.";
    }
    return text;
}

} // namespace fibmod::overview
