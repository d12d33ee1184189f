// SPDX-License-Identifier: MIT
// The overview's worker engine: rows of a stretch of moduli by the scan's own row function, as
// tab-separated figures and the command line's CSV lines; every failure returned as German text.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/inputs.h"
#include "core/engine/modulus_row.h"
#include "core/engine/row_columns.h"
#include "core/engine/run_time_error.h"
#include "core/engine/scan_csv.h"
#include "ui/overview/overview_texts.h"

namespace fibmod::web {

namespace {

// A residues' cell lists this many at most, then " …", as the window's table does.
constexpr std::size_t kCellResidues = 100;

// The scan this worker takes part in: its inputs read once, or the
// run-time error their reading is (every row then carries it).
struct OverviewScan {
    HeldInputTexts texts;
    std::optional<Inputs> inputs;
    std::optional<RunTimeError> unreadable;
    TermBound maxTerms = kWindowTermBound;
    RowScratch scratch;
};

std::optional<OverviewScan> scan;
std::string answer;
std::string csv;

const char* Answer(std::string text)
{
    answer = std::move(text);
    return answer.c_str();
}

// The eight input texts, one a line: r₁, s₁, a₁(0), a₁(1), r₂, s₂, a₂(0), a₂(1).
std::optional<HeldInputTexts> Texts(std::string_view lines)
{
    std::vector<std::string> values;
    while (true) {
        const std::size_t end = lines.find('\n');
        values.emplace_back(lines.substr(0, end));
        if (end == std::string_view::npos) break;
        lines.remove_prefix(end + 1);
    }
    if (values.size() != 8) return std::nullopt;
    return HeldInputTexts{.s1 = values[1], .r1 = values[0], .first1 = values[2], .second1 = values[3],
                          .s2 = values[5], .r2 = values[4], .first2 = values[6], .second2 = values[7]};
}

std::string Prepare(std::string_view lines, double maxTerms)
{
    const std::optional<HeldInputTexts> texts = Texts(lines);
    if (!texts) return "Die Folgen brauchen acht Werte.";
    OverviewScan fresh;
    fresh.texts = *texts;
    fresh.maxTerms = maxTerms > 0 ? TermBound(static_cast<std::int64_t>(maxTerms)) : std::nullopt;
    try {
        fresh.inputs = ValuesOf(fresh.texts.texts());
    } catch (const RunTimeError& error) {
        fresh.unreadable = error;
    }
    if (fresh.inputs && !BoundFits(*fresh.inputs, fresh.maxTerms)) return BoundProblem(*fresh.inputs, fresh.maxTerms);
    scan = std::move(fresh);
    return {};
}

// The row of one modulus, as the scan computes it (ScanRows' own steps).
ScanRow Row(std::int64_t modulus, bool residues)
{
    if (scan->unreadable) return ErrorRow(modulus, *scan->unreadable);
    scan->scratch.residues = residues;
    return *ScanModulus(*scan->inputs, modulus, scan->maxTerms, scan->scratch);
}

// What a row is for the chart, the table and the summary.
int Kind(const ScanRow& row)
{
    if (row.runTimeError()) return 2;
    if (row.neverRecurs()) return 3;
    return HasSingleCommonResidue(row) ? 1 : 0;
}

// The rows of `from` … `to`, one a line: modulus, both lengths, the common
// count, the kind (0 plain, 1 one common residue, 2 run-time error, 3 a
// start pair that never comes back) and the failure's message, tab apart.
// With `withCsv` their CSV lines are kept for fibmod_overview_csv.
std::string Rows(std::int64_t from, std::int64_t to, bool withCsv)
{
    std::string text;
    csv.clear();
    for (std::int64_t modulus = from; modulus <= to; ++modulus) {
        const ScanRow row = Row(modulus, withCsv);
        text += std::to_string(row.modulus) + '\t' + std::to_string(row.length1) + '\t' +
                std::to_string(row.length2) + '\t' + std::to_string(row.commonCount()) + '\t' +
                std::to_string(Kind(row)) + '\t' + row.failureText() + '\n';
        if (withCsv) AppendScanCsvLine(csv, row, kRowColumns);
    }
    return text;
}

// One modulus's residues' cell (at most kCellResidues, then " …"), a line
// feed, and its detail line as the window shows it.
std::string Residues(std::int64_t modulus)
{
    ScanRow row = Row(modulus, true);
    const std::string detail = overview::DetailText(row, scan->maxTerms);
    if (row.residues.size() > kCellResidues) {
        row.residues.resize(kCellResidues);
        return row.residuesText() + " …\n" + detail;
    }
    return CellText(row, RowColumn::CommonResidues) + '\n' + detail;
}

template <typename Work>
const char* Guarded(Work work)
{
    try {
        if (!scan) return Answer("!Die Übersicht ist nicht vorbereitet.");
        return Answer(work());
    } catch (const std::exception& error) {
        return Answer(std::string("!Fehler im Rechenkern: ") + error.what());
    }
}

} // namespace

} // namespace fibmod::web

extern "C" {

// Takes the sequences' eight values (r, s, a(0), a(1) of each, one a line)
// and the term bound (0 for none). Returns "" when set up, else the German
// line saying why not (a bound that does not fit the inputs).
EMSCRIPTEN_KEEPALIVE const char* fibmod_overview_prepare(const char* inputs, double maxTerms)
{
    try {
        return fibmod::web::Answer(fibmod::web::Prepare(inputs, maxTerms));
    } catch (const std::exception& error) {
        return fibmod::web::Answer(std::string("Fehler im Rechenkern: ") + error.what());
    }
}

// The rows of the moduli from `from` to `to` (see Rows); "!" and a German
// message should the engine fail. With `withCsv` non-zero the rows keep
// their residues, and fibmod_overview_csv answers their CSV lines.
EMSCRIPTEN_KEEPALIVE const char* fibmod_overview_rows(double from, double to, int withCsv)
{
    return fibmod::web::Guarded([&] {
        return fibmod::web::Rows(static_cast<std::int64_t>(from), static_cast<std::int64_t>(to), withCsv != 0);
    });
}

// The CSV lines of the last rows asked with their CSV, as the command line
// writes them: where their bytes begin in the module's memory, and how many.
EMSCRIPTEN_KEEPALIVE const char* fibmod_overview_csv() { return fibmod::web::csv.data(); }
EMSCRIPTEN_KEEPALIVE double fibmod_overview_csv_size() { return static_cast<double>(fibmod::web::csv.size()); }

// The CSV file's first line, as the command line writes it.
EMSCRIPTEN_KEEPALIVE const char* fibmod_overview_csv_header() { return fibmod::web::Answer(fibmod::ScanCsvHeader()); }

// One modulus's residues' cell and detail line (see Residues); "!" and a
// German message should the engine fail.
EMSCRIPTEN_KEEPALIVE const char* fibmod_overview_residues(double modulus)
{
    return fibmod::web::Guarded([&] { return fibmod::web::Residues(static_cast<std::int64_t>(modulus)); });
}

} // extern "C"
