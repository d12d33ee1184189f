// SPDX-License-Identifier: MIT
// The overview's texts for the page: its refusals, summary line and a point's figures, from the window's own rules.
#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "core/engine/input_rules.h"
#include "core/engine/inputs.h"
#include "core/engine/modulus_range.h"
#include "ui/overview/overview_texts.h"

namespace fibmod::web {

namespace {

using emscripten::val;

// One end of the range, "von" or "bis", from 2 to kOverviewModulusMax, or
// why not in one German line.
std::optional<std::int64_t> RangeEnd(std::string_view text, std::string_view name, std::string& problem)
{
    const WholeNumberReading reading = ReadWholeNumber(text, kModulusMin, overview::kOverviewModulusMax);
    if (reading.value) return reading.value;
    const std::string shown(WithoutBlanksAround(text));
    if (shown.empty())
        problem = "„" + std::string(name) + "“ ist leer: bitte einen Modul von " + std::to_string(kModulusMin) +
                  " bis " + std::to_string(overview::kOverviewModulusMax) + " eingeben.";
    else if (!WholeNumberDigits(text))
        problem = "„" + std::string(name) + "“: „" + ShortenedWords(shown) + "“ ist keine ganze Zahl.";
    else
        problem = "„" + std::string(name) + "“: " + ShortenedWords(shown) + " liegt nicht zwischen " +
                  std::to_string(kModulusMin) + " und " + std::to_string(overview::kOverviewModulusMax) + ".";
    return std::nullopt;
}

// What the overview will scan, or why not: {problem} with a German line,
// or {problem: "", from, to}. `sequences` holds r, s, a(0), a(1) of
// sequence 1, then of sequence 2; `maxTerms` 0 stands for no bound.
val Request(const val& sequences, const std::string& from, const std::string& to, double maxTerms)
{
    std::array<std::string, 8> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = sequences[i].as<std::string>();
    val out = val::object();
    std::string problem;
    const std::optional<std::int64_t> first = RangeEnd(from, "von", problem);
    const std::optional<std::int64_t> last = first ? RangeEnd(to, "bis", problem) : std::nullopt;
    if (first && last) try {
        const InputTexts inputs{.s1 = texts[1], .r1 = texts[0], .first1 = texts[2], .second1 = texts[3],
                                .s2 = texts[5], .r2 = texts[4], .first2 = texts[6], .second2 = texts[7]};
        const TermBound bound = maxTerms > 0 ? TermBound(static_cast<std::int64_t>(maxTerms)) : std::nullopt;
        problem = overview::Refusal(inputs, {*first, *last}, bound);
        out.set("from", static_cast<double>(*first));
        out.set("to", static_cast<double>(*last));
    } catch (const std::exception& error) {
        problem = std::string("Fehler im Rechenkern: ") + error.what();
    }
    out.set("problem", problem);
    return out;
}

// The summary line; `state` 0 done, 1 computing, 2 cancelled.
std::string Summary(double rows, double single, double errors, double never, int state)
{
    overview::RowTally tally;
    tally.singleCommon = static_cast<std::int64_t>(single);
    tally.runTimeErrors = static_cast<std::int64_t>(errors);
    tally.neverRecurring = static_cast<std::int64_t>(never);
    const overview::ScanState states[]{overview::ScanState::Done, overview::ScanState::Computing,
                                       overview::ScanState::Cancelled};
    return overview::Summary(static_cast<std::int64_t>(rows), tally, states[state]);
}

// A point's figures as the chart's hover shows them; a non-empty `failure`
// is the row's message instead of figures.
std::string Figures(double modulus, double length1, double length2, double count, const std::string& failure)
{
    const RowFailure reason{RowFailure::Kind::RunTimeError, 0, failure};
    const overview::RowFigures figures{static_cast<std::int64_t>(modulus), static_cast<std::int64_t>(length1),
                                       static_cast<std::int64_t>(length2), static_cast<std::int64_t>(count),
                                       failure.empty() ? nullptr : &reason};
    return overview::FiguresText(figures, overview::FiguresLayout::Tooltip);
}

} // namespace

EMSCRIPTEN_BINDINGS(fibmod_overview_page)
{
    emscripten::function("overviewRequest", &Request);
    emscripten::function("overviewSummary", &Summary);
    emscripten::function("overviewFigures", &Figures);
}

} // namespace fibmod::web
