// SPDX-License-Identifier: MIT
// The subcommand "show": the window's fields for one modulus.
#include "cli/show_command.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/text_table.h"
#include "core/memory_fields.h"
#include "core/modulus_range.h"
#include "core/number_rules.h"
#include "core/run_state.h"
#include "core/run_time_error.h"
#include "core/scan.h"

namespace fibmod::cli {

namespace {

// Every field of the window with its name.
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

// The listings under their headings as the window arranges them: sequence 1,
// sequence 2, the common members; the three result fields below.
std::string Layout(FieldAccess& fields, int modulus)
{
    std::array<TextColumn, 3> columns{{
        {{"Def.  Folge 1"}, Align::Left},
        {{"Def.   Folge 2"}, Align::Left},
        {{"Gemeinsames Folgenglied x  bei..."}, Align::Left},
    }};
    const std::array<FieldId, 3> listings{Text1(1), Text1(0), Text1(6)};
    std::size_t rows = 0;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        for (std::string& line : LinesOf(fields.getText(listings[c]))) columns[c].cells.push_back(std::move(line));
        rows = std::max(rows, columns[c].cells.size());
    }
    const std::array<std::string, 3> results{"Zykellänge: " + fields.getText(Text3(0)),
                                             "Zykellänge: " + fields.getText(Text3(1)),
                                             "Anzahl gemeinsamer Glieder: " + fields.getText(Text3(2))};
    for (std::size_t c = 0; c < columns.size(); ++c) {
        columns[c].cells.resize(rows + 1);
        columns[c].cells.push_back(results[c]);
    }
    return "Modul " + IntegerText(modulus) + "\n\n" + LayOutColumns(columns, 3);
}

std::string Json(FieldAccess& fields, const ScanRow& row)
{
    nlohmann::ordered_json texts;
    for (const NamedField& field : kFields) texts[field.name] = fields.getText(field.id);
    const nlohmann::ordered_json object{
        {"modulus", row.modulus},
        {"length1", row.length1},
        {"length2", row.length2},
        {"common_count", row.commonCount()},
        {"common_residues", row.residues},
        {"fields", texts},
    };
    return object.dump(2) + "\n";
}

} // namespace

void SetUpShowCommand(CLI::App& app, ShowCommandOptions& options)
{
    CLI::App* show = app.add_subcommand("show", "Shows what the window shows for one modulus.");
    SetUpInputsOptions(*show, options.inputs);
    show->add_option("-m,--modulus", options.modulus, "the modulus M")
        ->required()
        ->check(CLI::Range(kModulusMin, kModulusMax));
    show->add_flag("--json", options.json, "one JSON object with every field's exact text and the numbers");
    show->callback([&options] { Deliver(RunShowCommand(options)); });
}

CommandResult RunShowCommand(const ShowCommandOptions& options)
{
    const std::string modulus = IntegerText(options.modulus);
    const InputTexts texts = TextsOf(options.inputs, modulus);
    const auto state = std::make_unique<RunState>();
    MemoryFields fields(*state);
    try {
        // The user empties the modulus field, types the inputs and then the
        // modulus, whose change runs the computation.
        fields.setText(Text2, "");
        WriteInputs(fields, texts);
    } catch (const RunTimeError& error) {
        return {"", "fibmod-cli: " + error.message() + "\n", 1};
    }
    if (!options.json) return {Layout(fields, options.modulus), "", 0};
    return {Json(fields, ScanModulus(ValuesOf(texts), options.modulus)), "", 0};
}

} // namespace fibmod::cli
