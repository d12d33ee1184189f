// SPDX-License-Identifier: MIT
// The subcommand "next": where the stepping button stops.
#include "cli/next_command.h"

#include <optional>
#include <string>

#include "cli/progress_line.h"
#include "cli/whole_number_option.h"
#include "core/engine/scan.h"
#include "core/engine/term_bound.h"
#include "core/window/cycles.h"

namespace fibmod::cli {

namespace {

// What is printed when no modulus above `modulus` up to `limit` stops the
// stepping.
std::string NoStopMessage(std::int64_t modulus, std::int64_t limit)
{
    if (limit == kModulusMax) return std::string(kModulusLimitMessage);
    return "Kein Modul über " + std::to_string(modulus) + " bis " + std::to_string(limit) +
           " hat genau einen gemeinsamen Rest";
}

} // namespace

void SetUpNextCommand(CLI::App& app, NextCommandOptions& options, CommandContext& context)
{
    CLI::App* next = app.add_subcommand(
        "next", "Finds where the button \"Nächster: Nur Rest 1 gemeinsam\" stops when pressed at a modulus.");
    next->footer("With the default bound of " + std::to_string(*kWindowTermBound) +
                 " terms, a search past 2000 soon stops at an error row (Laufzeitfehler 9, exit code 1); "
                 "--max-terms none walks every cycle to its end and goes on.");
    SetUpInputsOptions(*next, options.inputs);
    next->add_option("-m,--modulus", options.modulus, "the modulus M the stepping starts from, 2 to 2147483647")
        ->type_name("M")
        ->required()
        ->transform(WholeNumberIn(kModulusMin, kEngineModulusMax));
    next->add_option("--limit", options.limit,
                     "the last modulus looked at, 2 to 2147483647; the window's limit is 2000")
        ->type_name("N")
        ->transform(WholeNumberIn(kModulusMin, kEngineModulusMax))
        ->capture_default_str();
    AddScanOptions(*next, options.engine);
    next->callback([&options, &context] {
        CheckedTermBound(options.engine, TextsOf(options.inputs, ""));
        Deliver(RunChecked([&] { return RunNextCommand(options, context); }));
    });
}

CommandResult RunNextCommand(const NextCommandOptions& options, CommandContext& context)
{
    const InputTexts texts = TextsOf(options.inputs, "");
    ScanOptions scan = ScanOptionsOf(options.engine, CheckedTermBound(options.engine, texts), context.scan);
    scan.stop = context.stop;

    std::optional<ScanRow> stop;
    {
        ProgressLine progress({options.modulus + 1, options.limit},
                              context.progress && !options.engine.quiet && options.modulus < options.limit);
        ScanOptions shown = scan;
        shown.beforeModulus = [&](std::int64_t m) {
            if (scan.beforeModulus) scan.beforeModulus(m);
            progress.done(m - 1);
        };
        stop = NextStop(texts, options.modulus, options.limit, shown);
    }
    if (context.stop.stop_requested()) return {context.stoppedExitCode(), ""};
    if (!stop) {
        context.out.write(NoStopMessage(options.modulus, options.limit) + "\n");
        return {};
    }
    if (stop->failed())
        return {1, "fibmod-cli: Modul " + std::to_string(stop->modulus) + ": " + stop->failureText() + "\n"};
    context.out.write(std::to_string(stop->modulus) + "\n");
    return {};
}

} // namespace fibmod::cli
