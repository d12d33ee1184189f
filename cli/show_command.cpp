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
#include "core/field_access.h"
#include "core/field_roles.h"
#include "core/listing_text.h"
#include "core/modulus_range.h"
#include "core/show.h"

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

// The fields' texts under their control names: a field access that only
// keeps what is written, with the inputs written as the core places them.
class KeptFields : public FieldAccess {
public:
    std::string getText(FieldId field) override
    {
        const auto kept = find(field);
        return kept == texts_.end() ? std::string() : kept->second;
    }
    void setText(FieldId field, std::string_view text) override
    {
        const auto kept = find(field);
        if (kept != texts_.end())
            kept->second = text;
        else
            texts_.emplace_back(field, text);
    }
    std::int16_t getScrollValue() override { return 0; }
    void setScrollValue(std::int16_t) override {}
    void pumpEvents() override {}
    void showMessage(std::string_view) override {}
    [[noreturn]] void endProgram() override { std::terminate(); }

private:
    std::vector<std::pair<FieldId, std::string>>::iterator find(FieldId field)
    {
        return std::find_if(texts_.begin(), texts_.end(), [field](const auto& kept) { return kept.first == field; });
    }

    std::vector<std::pair<FieldId, std::string>> texts_;
};

struct NamedField {
    const char* name;
    FieldId id;
};

constexpr std::array<NamedField, 15> kFields{{
    {"Text1(0)", Text1(0)}, {"Text1(1)", Text1(1)}, {"Text1(2)", Text1(2)}, {"Text1(3)", Text1(3)},
    {"Text1(4)", Text1(4)}, {"Text1(5)", Text1(5)}, {"Text1(6)", Text1(6)}, {"Text2", Text2},
    {"Text3(0)", Text3(0)}, {"Text3(1)", Text3(1)}, {"Text3(2)", Text3(2)}, {"Text4(0)", Text4(0)},
    {"Text4(1)", Text4(1)}, {"Text4(2)", Text4(2)}, {"Text4(3)", Text4(3)},
}};

nlohmann::ordered_json FieldTexts(const ShownModulus& shown, const InputTexts& texts)
{
    KeptFields fields;
    WriteInputs(fields, texts);
    fields.setText(kSequence1Fields.listing, shown.listing1);
    fields.setText(kSequence2Fields.listing, shown.listing2);
    fields.setText(kCommonMembersField, shown.common);
    fields.setText(kSequence1Fields.length, shown.length1);
    fields.setText(kSequence2Fields.length, shown.length2);
    fields.setText(kCommonCountField, shown.count);
    nlohmann::ordered_json object;
    for (const NamedField& field : kFields) object[field.name] = fields.getText(field.id);
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
