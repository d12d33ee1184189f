// SPDX-License-Identifier: MIT
// The overview's worker engine: rows of a stretch of moduli by the scan's own row function, as
// figures in the module's memory and the command line's CSV lines; every failure returned as German text.
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

// The figures of the last rows asked: both lengths and the common count as
// three runs of doubles one after the other, and each row's kind (0 plain,
// 1 one common residue, 2 run-time error, 3 a start pair that never comes
// back), read by the worker straight from the module's memory.
std::vector<double> figures;
std::vector<std::uint8_t> kinds;

// Computes the rows of `from` … `to` into `figures` and `kinds`; answers
// the failed rows' messages, a line each: the row's position, a tab, the
// message. With `withCsv` their CSV lines are kept for fibmod_overview_csv.
std::string Rows(std::int64_t from, std::int64_t to, bool withCsv)
{
    const auto count = static_cast<std::size_t>(to - from + 1);
    figures.assign(3 * count, 0.0);
    kinds.assign(count, 0);
    std::string failures;
    csv.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const ScanRow row = Row(from + static_cast<std::int64_t>(i), withCsv);
        figures[i] = static_cast<double>(row.length1);
        figures[count + i] = static_cast<double>(row.length2);
        figures[2 * count + i] = static_cast<double>(row.commonCount());
        kinds[i] = static_cast<std::uint8_t>(Kind(row));
        if (row.failure) failures += std::to_string(i) + '\t' + row.failure->message + '\n';
        if (withCsv) AppendScanCsvLine(csv, row, kRowColumns);
    }
    return failures;
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

// Computes the rows of the moduli from `from` to `to` (see Rows) and
// answers their failures' lines; "!" and a German message should the
// engine fail. With `withCsv` non-zero the rows keep their residues, and
// fibmod_overview_csv answers their CSV lines.
EMSCRIPTEN_KEEPALIVE const char* fibmod_overview_rows(double from, double to, int withCsv)
{
    return fibmod::web::Guarded([&] {
        return fibmod::web::Rows(static_cast<std::int64_t>(from), static_cast<std::int64_t>(to), withCsv != 0);
    });
}

// Where the last rows' figures and kinds begin in the module's memory (see figures and kinds).
EMSCRIPTEN_KEEPALIVE const double* fibmod_overview_figures() { return fibmod::web::figures.data(); }
EMSCRIPTEN_KEEPALIVE const std::uint8_t* fibmod_overview_kinds() { return fibmod::web::kinds.data(); }

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
