// SPDX-License-Identifier: MIT
// The page's periods: plain exported functions over the portable period
// engine, one list of moduli at a time, every failure returned as text.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/input_rules.h"
#include "core/engine/period/period_rows.h"
#include "core/engine/period/word_period_rows.h"

namespace fibmod::web {

namespace {

// What the page names where it refuses a modulus it cannot take.
constexpr std::string_view kLargeModuli =
    "Moduln ab 2^64 = 18446744073709551616 rechnet diese Seite nicht; das Kommandozeilenprogramm fibmod-cli "
    "rechnet sie bis 2^127 − 1 (fibmod-cli period MODUL).";

// A range longer than this is refused: the page holds every row it shows.
constexpr std::uint64_t kMostRows = 100000;

// The list being worked through: its calculator and the moduli still to do.
struct PeriodList {
    std::optional<WordPeriodCalculator> calculator;
    std::vector<std::uint64_t> moduli;
    std::uint64_t from = 0;
    std::uint64_t count = 0;
    std::uint64_t next = 0;
    bool range = false;
};

PeriodList list;
std::string answer;

// A whole number as the window's rules read it, or why not (German).
std::optional<WordWhole> WholeNumber(std::string_view text, std::string_view what, std::string& problem)
{
    const std::optional<std::string_view> digits = WholeNumberDigits(text);
    if (!digits) {
        problem = std::string(what) + ": „" + std::string(WithoutBlanksAround(text)) + "“ ist keine ganze Zahl.";
        return std::nullopt;
    }
    return WordWhole::FromDecimal(*digits);
}

// A modulus from 2 to 2^64 − 1, or why not (German).
std::optional<std::uint64_t> Modulus(std::string_view text, std::string_view what, std::string& problem)
{
    const std::optional<WordWhole> M = WholeNumber(text, what, problem);
    if (!M) return std::nullopt;
    if (M->limbs.size() > 1 && !M->negative) {
        problem = std::string(what) + ": " + std::string(kLargeModuli);
        return std::nullopt;
    }
    const std::uint64_t value = M->limbs.empty() ? 0 : M->limbs.front();
    if (M->negative || value < 2) {
        problem = std::string(what) + ": „" + std::string(WithoutBlanksAround(text)) +
                  "“ ist kein Modul; Moduln gehen von 2 bis 18446744073709551615.";
        return std::nullopt;
    }
    return value;
}

// The lines of a text, without a CR before each LF.
std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool Blank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// Sets up `list`, or says why not.
std::string Prepare(std::string_view inputs, std::string_view moduli, std::string_view from, std::string_view to)
{
    static constexpr std::string_view kInputNames[8]{"r₁", "s₁", "a₁(0)", "a₁(1)", "r₂", "s₂", "a₂(0)", "a₂(1)"};
    const std::vector<std::string_view> values = Lines(inputs);
    if (values.size() != 8) return "Die Folgen brauchen acht Werte.";
    std::string problem;
    std::vector<WordWhole> whole;
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::optional<WordWhole> value = WholeNumber(values[i], kInputNames[i], problem);
        if (!value) return problem;
        whole.push_back(std::move(*value));
    }
    PeriodList fresh;
    const bool range = !Blank(from) || !Blank(to);
    bool anyLine = false;
    for (const std::string_view line : Lines(moduli)) anyLine = anyLine || !Blank(line);
    if (range && anyLine) return "Bitte entweder Moduln zeilenweise oder einen Bereich mit „von“ und „bis“ angeben, nicht beides.";
    if (range) {
        if (Blank(from) || Blank(to)) return "Ein Bereich braucht „von“ und „bis“.";
        const std::optional<std::uint64_t> first = Modulus(from, "von", problem);
        if (!first) return problem;
        const std::optional<std::uint64_t> last = Modulus(to, "bis", problem);
        if (!last) return problem;
        if (*first > *last) return "„von“ liegt über „bis“.";
        if (*last - *first >= kMostRows)
            return "Ein Bereich fasst höchstens " + std::to_string(kMostRows) + " Moduln; für mehr gibt es fibmod-cli period --from … --to ….";
        fresh.range = true;
        fresh.from = *first;
        fresh.count = *last - *first + 1;
    } else {
        std::uint64_t lineNumber = 0;
        for (const std::string_view line : Lines(moduli)) {
            ++lineNumber;
            if (Blank(line)) continue;
            const std::optional<std::uint64_t> M = Modulus(line, "Zeile " + std::to_string(lineNumber), problem);
            if (!M) return problem;
            fresh.moduli.push_back(*M);
        }
        if (fresh.moduli.empty()) return "Bitte mindestens einen Modul angeben.";
        if (fresh.moduli.size() > kMostRows)
            return "Eine Liste fasst höchstens " + std::to_string(kMostRows) + " Moduln; für mehr gibt es fibmod-cli period.";
        fresh.count = fresh.moduli.size();
    }
    fresh.calculator.emplace(std::vector<WordInputs>{{whole[0], whole[1], whole[2], whole[3]},
                                                     {whole[4], whole[5], whole[6], whole[7]}});
    list = std::move(fresh);
    return {};
}

// The next row: its six cells joined by tabs, a line feed, then its CSV
// line; empty when every row is done.
std::string NextRow()
{
    if (!list.calculator || list.next == list.count) return {};
    const std::uint64_t M = list.range ? list.from + list.next : list.moduli[list.next];
    ++list.next;
    const PeriodRowText row = RowText(list.calculator->compute(M));
    std::string text = row.modulus;
    for (std::size_t i = 0; i < 2; ++i) text += '\t' + row.preperiod[i] + '\t' + row.length[i];
    text += '\t' + FactorsText(row.factors) + '\n';
    AppendPeriodCsvLine(text, row);
    return text;
}

const char* Answer(std::string text)
{
    answer = std::move(text);
    return answer.c_str();
}

} // namespace

} // namespace fibmod::web

extern "C" {

// Takes the sequences' eight values (r, s, a(0), a(1) of each, one a line)
// and the moduli (one a line) or a range (from, to; both empty for the
// list). Returns "" when the list is set up, else the German message saying
// why not.
EMSCRIPTEN_KEEPALIVE const char* fibmod_periods_prepare(const char* inputs, const char* moduli, const char* from,
                                                        const char* to)
{
    try {
        return fibmod::web::Answer(fibmod::web::Prepare(inputs, moduli, from, to));
    } catch (const std::exception& error) {
        return fibmod::web::Answer(std::string("Fehler im Rechenkern: ") + error.what());
    }
}

// How many moduli the list holds.
EMSCRIPTEN_KEEPALIVE double fibmod_periods_count() { return static_cast<double>(fibmod::web::list.count); }

// The next row (see NextRow), "" after the last; "!" and a German message
// should the engine fail.
EMSCRIPTEN_KEEPALIVE const char* fibmod_periods_next()
{
    try {
        return fibmod::web::Answer(fibmod::web::NextRow());
    } catch (const std::exception& error) {
        return fibmod::web::Answer(std::string("!Fehler im Rechenkern: ") + error.what());
    }
}

// The CSV file's first line, as the command line writes it.
EMSCRIPTEN_KEEPALIVE const char* fibmod_periods_csv_header() { return fibmod::web::Answer(fibmod::PeriodCsvHeader()); }

} // extern "C"
