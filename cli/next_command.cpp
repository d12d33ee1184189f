// SPDX-License-Identifier: MIT
// The subcommand "next": where the stepping button stops.
#include "cli/next_command.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/cycles.h"
#include "core/modulus_range.h"
#include "core/number_rules.h"
#include "core/scan.h"

namespace fibmod::cli {

namespace {

// The moduli are scanned a block at a time, so that a stop near the start
// needs no scan of the whole range.
constexpr int kBlock = 64;

// The first row above `modulus` at which the stepping stops: one common
// residue or a run-time error. None up to the limit.
std::optional<ScanRow> StopAbove(const InputTexts& texts, int modulus)
{
    for (int from = modulus + 1; from <= kModulusMax; from += kBlock) {
        const std::vector<ScanRow> rows = Scan(texts, {from, std::min(from + kBlock - 1, kModulusMax)}).value();
        const auto stop = std::find_if(rows.begin(), rows.end(), [](const ScanRow& row) {
            return StopsStepping(row);
        });
        if (stop != rows.end()) return *stop;
    }
    return std::nullopt;
}

} // namespace

void SetUpNextCommand(CLI::App& app, NextCommandOptions& options)
{
    CLI::App* next = app.add_subcommand(
        "next", "Finds where the button \"Nächster: Nur Rest 1 gemeinsam\" stops when pressed at a modulus.");
    SetUpInputsOptions(*next, options.inputs);
    next->add_option("-m,--modulus", options.modulus, "the modulus M the stepping starts from")
        ->required()
        ->check(CLI::Range(kModulusMin, kModulusMax));
    next->callback([&options] { Deliver(RunNextCommand(options)); });
}

CommandResult RunNextCommand(const NextCommandOptions& options)
{
    const std::optional<ScanRow> stop = StopAbove(TextsOf(options.inputs, ""), options.modulus);
    if (!stop) return {std::string(kModulusLimitMessage) + "\n", "", 0};
    if (stop->failed())
        return {"", "fibmod-cli: Modul " + std::to_string(stop->modulus) + ": " + stop->failureText() + "\n", 1};
    return {std::to_string(stop->modulus) + "\n", "", 0};
}

} // namespace fibmod::cli
