// SPDX-License-Identifier: MIT
// The subcommand "scan": one row per modulus, written as it is done.
#include "cli/scan_command.h"

#include <array>
#include <memory>

#include <nlohmann/json.hpp>

#include "cli/progress_line.h"
#include "cli/text_table.h"
#include "cli/whole_number_option.h"
#include "core/engine/modulus_range.h"
#include "core/engine/row_columns.h"
#include "core/engine/scan.h"
#include "core/engine/scan_csv.h"

namespace fibmod::cli {

namespace {

// Writes the rows in one format: what comes before them, each row, and
// what closes the document.
class RowFormat {
public:
    virtual ~RowFormat() = default;
    virtual std::string head() { return {}; }
    virtual std::string row(const ScanRow& row) = 0;
    virtual std::string closing() { return {}; }
};

std::size_t Digits(std::int64_t n) { return std::to_string(n).size(); }

class TableFormat : public RowFormat {
public:
    TableFormat(ModulusRange range, TermBound maxTerms)
    {
        // A cycle has at most M² terms.
        const std::int64_t longest = std::min(range.to * range.to, maxTerms.value_or(range.to * range.to));
        const std::array<std::size_t, 4> widest{Digits(range.to), Digits(longest), Digits(longest),
                                                Digits(range.to)};
        for (std::size_t c = 0; c < shapes_.size(); ++c) {
            shapes_[c].width = std::max(TextWidth(kHeadings[c]), c < widest.size() ? widest[c] : 0);
            shapes_[c].align = c < widest.size() ? Align::Right : Align::Left;
        }
    }

    std::string head() override { return LayOutLine(kHeadings, shapes_, 2); }

    std::string row(const ScanRow& row) override
    {
        const bool failed = row.failed();
        const std::array<std::string, 5> cells{
            std::to_string(row.modulus),
            failed ? "" : std::to_string(row.length1),
            failed ? "" : std::to_string(row.length2),
            failed ? "" : std::to_string(row.commonCount()),
            failed ? row.failureText() : row.residuesText(),
        };
        return LayOutLine(cells, shapes_, 2);
    }

private:
    inline static const std::array<std::string, 5> kHeadings{"Modul", "Zykellänge 1", "Zykellänge 2", "Anzahl",
                                                             "gemeinsame Reste"};
    std::array<ColumnShape, 5> shapes_;
};

class CsvFormat : public RowFormat {
public:
    std::string head() override { return ScanCsvHeader(); }
    std::string row(const ScanRow& row) override { return ScanCsvLine(row); }
};

class JsonFormat : public RowFormat {
public:
    std::string row(const ScanRow& row) override
    {
        nlohmann::ordered_json object;
        for (const RowColumn column : kRowColumns) {
            nlohmann::ordered_json& cell = object[std::string(ColumnName(column))];
            if (IsEmptyCell(row, column))
                cell = nullptr;
            else if (IsNumberColumn(column))
                cell = CellNumber(row, column);
            else if (column == RowColumn::CommonResidues)
                cell = row.residues;
            else
                cell = CellText(row, column);
        }
        // The object indented as an element of the array.
        std::string text = (first_ ? "[\n  " : ",\n  ");
        for (const char c : object.dump(2)) {
            text.push_back(c);
            if (c == '\n') text.append("  ");
        }
        first_ = false;
        return text;
    }
    std::string closing() override { return first_ ? "[]\n" : "\n]\n"; }

private:
    bool first_ = true;
};

std::unique_ptr<RowFormat> FormatOf(const ScanCommandOptions& options, TermBound maxTerms)
{
    if (options.format == "csv") return std::make_unique<CsvFormat>();
    if (options.format == "json") return std::make_unique<JsonFormat>();
    return std::make_unique<TableFormat>(ModulusRange{options.from, options.to}, maxTerms);
}

} // namespace

void SetUpScanCommand(CLI::App& app, ScanCommandOptions& options, CommandContext& context)
{
    CLI::App* scan = app.add_subcommand("scan", "Lists lengths and common residues for every modulus of a range.");
    SetUpInputsOptions(*scan, options.inputs);
    options.from = kModulusMin;
    options.to = kModulusMax;
    options.format = "table";
    scan->add_option("--from", options.from, "the first modulus, from 2 to 2147483647")
        ->type_name("M")
        ->transform(WholeNumberIn(kModulusMin, kEngineModulusMax))
        ->capture_default_str();
    scan->add_option("--to", options.to, "the last modulus, from 2 to 2147483647")
        ->type_name("M")
        ->transform(WholeNumberIn(kModulusMin, kEngineModulusMax))
        ->capture_default_str();
    scan->add_option("--format", options.format, "the output format")
        ->check(CLI::IsMember({"table", "csv", "json"}))
        ->capture_default_str();
    scan->add_flag("--no-header", options.noHeader,
                   "no header line (table, csv): the parts of a range split with --from and --to then join into "
                   "the whole");
    AddScanOptions(*scan, options.engine);
    scan->callback([&options, &context] {
        if (options.from > options.to)
            throw CLI::ValidationError("--from", std::to_string(options.from) + " is above --to " +
                                                     std::to_string(options.to));
        CheckedTermBound(options.engine, TextsOf(options.inputs, ""));
        Deliver(RunChecked([&] { return RunScanCommand(options, context); }));
    });
}

CommandResult RunScanCommand(const ScanCommandOptions& options, CommandContext& context)
{
    const InputTexts texts = TextsOf(options.inputs, "");
    const TermBound maxTerms = CheckedTermBound(options.engine, texts);
    const ModulusRange range{options.from, options.to};
    const std::unique_ptr<RowFormat> format = FormatOf(options, maxTerms);
    ScanOptions scan = ScanOptionsOf(options.engine, maxTerms);
    scan.stop = context.stop;
    scan.beforeModulus = context.beforeModulus;

    OutputFile& out = context.out;
    out.setClosing(format->closing());
    if (!options.noHeader) out.write(format->head());
    bool finished;
    {
        ProgressLine progress(range, context.progress && !options.engine.quiet);
        finished = ScanRows(texts, range, scan, [&](ScanRow&& row) {
            const std::string text = format->row(row);
            out.write(text, format->closing());
            progress.done(row.modulus);
        });
    }
    out.write(format->closing());
    out.setClosing({});
    if (!finished) return {context.stoppedExitCode(), ""};
    return {};
}

} // namespace fibmod::cli
