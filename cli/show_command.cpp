// SPDX-License-Identifier: MIT
// The subcommand "show": what the window shows for one modulus.
#include "cli/show_command.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/text_table.h"
#include "cli/whole_number_option.h"
#include "core/engine/modulus_range.h"
#include "core/window/field_access.h"
#include "core/window/field_roles.h"
#include "core/window/input_fields.h"
#include "core/window/listing_text.h"
#include "core/window/show.h"
#include "core/window/text_boxes.h"

namespace fibmod::cli {

namespace {

// A column of the readable layout: its heading, its listing and the result
// field below it.
struct ShownColumn {
    const char* heading;
    std::string ShownModulus::*listing;
    const char* resultLabel;
    std::string ShownModulus::*result;
};

constexpr std::array<ShownColumn, 3> kColumns{{
    {"Def.  Folge 1", &ShownModulus::listing1, "Zykellänge: ", &ShownModulus::length1},
    {"Def.   Folge 2", &ShownModulus::listing2, "Zykellänge: ", &ShownModulus::length2},
    {"Gemeinsames Folgenglied x  bei...", &ShownModulus::common, "Anzahl gemeinsamer Glieder: ",
     &ShownModulus::count},
}};

std::string Heading(std::int64_t modulus) { return "Modul " + std::to_string(modulus) + "\n\n"; }

// The listings under their headings as the window arranges them: sequence 1,
// sequence 2, the common members; the three result fields below.
std::string Layout(const ShownModulus& shown)
{
    std::vector<TextColumn> columns;
    std::size_t rows = 0;
    for (const ShownColumn& column : kColumns) {
        TextColumn& text = columns.emplace_back(TextColumn{{column.heading}, Align::Left});
        for (std::string& line : LinesOf(shown.*column.listing)) text.cells.push_back(std::move(line));
        rows = std::max(rows, text.cells.size());
    }
    for (std::size_t c = 0; c < columns.size(); ++c) {
        columns[c].cells.resize(rows + 1);
        columns[c].cells.push_back(kColumns[c].resultLabel + shown.*kColumns[c].result);
    }
    return Heading(shown.row.modulus) + LayOutColumns(columns, 3);
}

// The result fields and the summary, without the listings.
std::string Summary(const ShownModulus& shown)
{
    std::string out = Heading(shown.row.modulus);
    for (const ShownColumn& column : kColumns) out += column.resultLabel + shown.*column.result + "\n";
    std::vector<std::string> lines = LinesOf(shown.common);
    const auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& line) { return !line.empty(); });
    out += "\n";
    for (auto line = first; line != lines.end(); ++line) out += *line + "\n";
    return out;
}

nlohmann::ordered_json FieldTexts(const ShownModulus& shown, const InputTexts& texts)
{
    // Every box's text by its slot: the inputs where the window holds them,
    // the results where it writes them.
    std::array<std::string, kTextBoxCount> boxes;
    for (const auto& [member, field] : kInputFields) boxes[BoxSlot(field)] = texts.*member;
    boxes[BoxSlot(kSequence1Fields.listing)] = shown.listing1;
    boxes[BoxSlot(kSequence2Fields.listing)] = shown.listing2;
    boxes[BoxSlot(kCommonMembersField)] = shown.common;
    boxes[BoxSlot(kSequence1Fields.length)] = shown.length1;
    boxes[BoxSlot(kSequence2Fields.length)] = shown.length2;
    boxes[BoxSlot(kCommonCountField)] = shown.count;
    nlohmann::ordered_json object;
    for (std::size_t slot = 0; slot < kTextBoxCount; ++slot) object[BoxName(BoxAtSlot(slot))] = boxes[slot];
    return object;
}

std::string Json(const ShownModulus& shown, const InputTexts& texts)
{
    const ScanRow& row = shown.row;
    std::string members;
    for (const CommonMember& member : shown.members) AppendMemberLine(members, member);
    const nlohmann::ordered_json object{
        {"modulus", row.modulus},
        {"length1", row.length1},
        {"length2", row.length2},
        {"common_count", row.commonCount()},
        {"common_residues", row.residues},
        {"sequence1", {{"listing", shown.listing1}, {"length", row.length1}}},
        {"sequence2", {{"listing", shown.listing2}, {"length", row.length2}}},
        {"common", {{"members", members}, {"residues", row.residues}, {"count", row.commonCount()}}},
        {"fields", FieldTexts(shown, texts)},
    };
    return object.dump(2) + "\n";
}

} // namespace

void SetUpShowCommand(CLI::App& app, ShowCommandOptions& options, CommandContext& context)
{
    CLI::App* show = app.add_subcommand("show", "Shows what the window shows for one modulus.");
    SetUpInputsOptions(*show, options.inputs);
    show->add_option("-m,--modulus", options.modulus, "the modulus M, from 2 to 2147483647")
        ->type_name("M")
        ->required()
        ->transform(WholeNumberIn(kModulusMin, kEngineModulusMax));
    show->add_flag("--json", options.json,
                   "one JSON object: modulus, length1, length2, common_count, common_residues; sequence1 and "
                   "sequence2 {listing: the listing's text, length}; common {members: the member lines' text, "
                   "residues, count}; fields {every field's exact text under the window's control name, e.g. "
                   "Text1(1) for sequence 1's listing}");
    show->add_flag("--summary", options.summary,
                   "only the lengths, the count and the common residues, without the listings (which may be "
                   "millions of lines long without a term bound)");
    AddMaxTermsOption(*show, options.engine);
    show->callback([&options, &context] {
        CheckedTermBound(options.engine, TextsOf(options.inputs, ""));
        Deliver(RunChecked([&] { return RunShowCommand(options, context); }));
    });
}

CommandResult RunShowCommand(const ShowCommandOptions& options, CommandContext& context)
{
    const std::string modulus = std::to_string(options.modulus);
    const InputTexts texts = TextsOf(options.inputs, modulus);
    const ShownModulus shown =
        ShowModulus(texts, options.modulus, CheckedTermBound(options.engine, texts), !options.summary);
    if (context.stop.stop_requested()) return {context.stoppedExitCode(), ""};
    if (shown.row.failed()) return {1, "fibmod-cli: " + shown.row.failureText() + "\n"};
    if (options.json)
        context.out.write(Json(shown, texts));
    else
        context.out.write(options.summary ? Summary(shown) : Layout(shown));
    return {};
}

} // namespace fibmod::cli
