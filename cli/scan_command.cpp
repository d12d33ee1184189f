// SPDX-License-Identifier: MIT
// The subcommand "scan": one row per modulus.
#include "cli/scan_command.h"

#include <array>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/text_table.h"
#include "core/modulus_range.h"
#include "core/number_rules.h"
#include "core/scan.h"
#include "core/scan_csv.h"

namespace fibmod::cli {

namespace {

using Rows = std::vector<ScanRow>;

std::string Table(const Rows& rows)
{
    std::array<TextColumn, 5> columns{{
        {{"Modul"}, Align::Right},
        {{"Zykellänge 1"}, Align::Right},
        {{"Zykellänge 2"}, Align::Right},
        {{"Anzahl"}, Align::Right},
        {{"gemeinsame Reste"}, Align::Left},
    }};
    for (const ScanRow& row : rows) {
        columns[0].cells.push_back(std::to_string(row.modulus));
        const bool failed = row.failed();
        columns[1].cells.push_back(failed ? "" : std::to_string(row.length1));
        columns[2].cells.push_back(failed ? "" : std::to_string(row.length2));
        columns[3].cells.push_back(failed ? "" : std::to_string(row.commonCount()));
        columns[4].cells.push_back(failed ? row.failureText() : row.residuesText());
    }
    return LayOutColumns(columns, 2);
}

std::string Json(const Rows& rows)
{
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const ScanRow& row : rows) {
        const bool failed = row.failed();
        array.push_back({
            {"modulus", row.modulus},
            {"length1", failed ? nullptr : nlohmann::ordered_json(row.length1)},
            {"length2", failed ? nullptr : nlohmann::ordered_json(row.length2)},
            {"common_count", failed ? nullptr : nlohmann::ordered_json(row.commonCount())},
            {"common_residues", failed ? nullptr : nlohmann::ordered_json(row.residues)},
            {"error", failed ? nlohmann::ordered_json(row.failureText()) : nullptr},
        });
    }
    return array.dump(2) + "\n";
}

} // namespace

void SetUpScanCommand(CLI::App& app, ScanCommandOptions& options)
{
    CLI::App* scan = app.add_subcommand("scan", "Lists lengths and common residues for every modulus of a range.");
    SetUpInputsOptions(*scan, options.inputs);
    options.from = kModulusMin;
    options.to = kModulusMax;
    options.format = "table";
    scan->add_option("--from", options.from, "the first modulus")
        ->check(CLI::Range(kModulusMin, kModulusMax))
        ->capture_default_str();
    scan->add_option("--to", options.to, "the last modulus")
        ->check(CLI::Range(kModulusMin, kModulusMax))
        ->capture_default_str();
    scan->add_option("--format", options.format, "the output format")
        ->check(CLI::IsMember({"table", "csv", "json"}))
        ->capture_default_str();
    scan->callback([&options] {
        if (options.from > options.to)
            throw CLI::ValidationError("--from", std::to_string(options.from) + " is above --to " +
                                                     std::to_string(options.to));
        Deliver(RunScanCommand(options));
    });
}

CommandResult RunScanCommand(const ScanCommandOptions& options)
{
    const Rows rows = Scan(TextsOf(options.inputs, ""), {options.from, options.to}).value();
    if (options.format == "csv") return {ScanCsv(rows), "", 0};
    if (options.format == "json") return {Json(rows), "", 0};
    return {Table(rows), "", 0};
}

} // namespace fibmod::cli
