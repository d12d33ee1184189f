// SPDX-License-Identifier: MIT
// The subcommand "scan": one row per modulus, written as it is done.
#include "cli/scan_command.h"

#include <algorithm>
#include <array>
#include <memory>

#include <nlohmann/json.hpp>

#include "cli/block_output.h"
#include "cli/progress_line.h"
#include "cli/text_table.h"
#include "cli/whole_number_option.h"
#include "core/engine/modulus_range.h"
#include "core/engine/row_columns.h"
#include "core/engine/scan.h"
#include "core/engine/scan_csv.h"

namespace fibmod::cli {

namespace {

// Writes the rows in one format: what comes before them, each row (appended
// to a block), and what closes the document.
class RowFormat {
public:
    virtual ~RowFormat() = default;
    virtual std::string head() { return {}; }
    virtual void row(std::string& out, const ScanRow& row) = 0;
    virtual std::string closing() { return {}; }
};

std::size_t Digits(std::int64_t n) { return std::to_string(n).size(); }

bool Has(const std::vector<RowColumn>& columns, RowColumn column)
{
    return std::find(columns.begin(), columns.end(), column) != columns.end();
}

class TableFormat : public RowFormat {
public:
    TableFormat(ModulusRange range, TermBound maxTerms, std::vector<RowColumn> columns) : columns_(std::move(columns))
    {
        // A cycle has at most M² terms.
        const std::int64_t longest = std::min(range.to * range.to, maxTerms.value_or(range.to * range.to));
        const std::array<std::size_t, 4> widest{Digits(range.to), Digits(longest), Digits(longest),
                                                Digits(range.to)};
        // Without a column for them, a failed row's message stands after the
        // last column; in the residues' column when that is the last.
        errorInLast_ = !Has(columns_, RowColumn::Error) && columns_.back() == RowColumn::CommonResidues;
        errorAfter_ = !Has(columns_, RowColumn::Error) && !errorInLast_;
        for (const RowColumn column : columns_) {
            const auto c = static_cast<std::size_t>(column);
            headings_.push_back(c < kHeadings.size() ? kHeadings[c] : std::string());
            shapes_.push_back({std::max(TextWidth(headings_.back()), c < widest.size() ? widest[c] : 0),
                               c < widest.size() ? Align::Right : Align::Left});
        }
    }

    std::string head() override { return LayOutLine(headings_, shapes_, 2); }

    void row(std::string& out, const ScanRow& row) override
    {
        cells_.resize(columns_.size());
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            cells_[c].clear();
            AppendCellText(cells_[c], row, columns_[c]);
        }
        if (row.failed() && errorInLast_) cells_.back() = row.failureText();
        if (row.failed() && errorAfter_) {
            cells_.push_back(row.failureText());
            shapes_.push_back({0, Align::Left});
            out += LayOutLine(cells_, shapes_, 2);
            shapes_.pop_back();
            return;
        }
        out += LayOutLine(cells_, shapes_, 2);
    }

private:
    inline static const std::array<std::string, 5> kHeadings{"Modul", "Zykellänge 1", "Zykellänge 2", "Anzahl",
                                                             "gemeinsame Reste"};
    std::vector<RowColumn> columns_;
    std::vector<std::string> headings_;
    std::vector<ColumnShape> shapes_;
    std::vector<std::string> cells_;
    bool errorInLast_ = false;
    bool errorAfter_ = false;
};

class CsvFormat : public RowFormat {
public:
    explicit CsvFormat(std::vector<RowColumn> columns) : columns_(std::move(columns)) {}
    std::string head() override { return ScanCsvHeader(columns_); }
    void row(std::string& out, const ScanRow& row) override { AppendScanCsvLine(out, row, columns_); }

private:
    std::vector<RowColumn> columns_;
};

class JsonFormat : public RowFormat {
public:
    explicit JsonFormat(std::vector<RowColumn> columns) : columns_(std::move(columns)) {}

    void row(std::string& out, const ScanRow& row) override
    {
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (const RowColumn column : columns_) {
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
        out += first_ ? "[\n  " : ",\n  ";
        for (const char c : object.dump(2)) {
            out.push_back(c);
            if (c == '\n') out.append("  ");
        }
        first_ = false;
    }
    std::string closing() override { return first_ ? "[]\n" : "\n]\n"; }

private:
    std::vector<RowColumn> columns_;
    bool first_ = true;
};

std::unique_ptr<RowFormat> FormatOf(const ScanCommandOptions& options, TermBound maxTerms)
{
    std::vector<RowColumn> columns = options.columns.empty() ? std::vector<RowColumn>(kRowColumns.begin(), kRowColumns.end()) : options.columns;
    if (options.format == "csv") return std::make_unique<CsvFormat>(std::move(columns));
    if (options.format == "json") return std::make_unique<JsonFormat>(std::move(columns));
    // Today's table has no column for the message: it stands in the residues'.
    if (options.columns.empty()) columns.pop_back();
    return std::make_unique<TableFormat>(ModulusRange{options.from, options.to}, maxTerms, std::move(columns));
}

} // namespace

std::vector<RowColumn> ColumnsOf(const std::string& list)
{
    std::vector<std::string> names;
    for (std::size_t begin = 0; begin <= list.size() && !list.empty();) {
        const std::size_t end = std::min(list.find(',', begin), list.size());
        names.push_back(list.substr(begin, end - begin));
        begin = end + 1;
    }
    ColumnChoice choice = ChooseColumns(names);
    if (!choice.problem.empty()) throw CLI::ValidationError("--columns", choice.problem);
    return std::move(choice.columns);
}

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
    scan->add_option_function<std::string>(
            "--columns", [&options](const std::string& list) { options.columns = ColumnsOf(list); },
            "only these columns, in this order, by the CSV header's names: "
            "modulus,length1,length2,common_count,common_residues,error")
        ->type_name("LIST");
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
    ScanOptions scan = ScanOptionsOf(options.engine, maxTerms, context.scan);
    scan.stop = context.stop;

    // Residues nobody reads are not listed.
    if (!options.columns.empty() && !Has(options.columns, RowColumn::CommonResidues)) scan.residues = false;

    OutputFile& out = context.out;
    out.setClosing(format->closing());
    if (!options.noHeader) out.write(format->head());
    bool finished;
    {
        BlockOutput blocks(out);
        ProgressLine progress(range, context.progress && !options.engine.quiet);
        finished = ScanRows(texts, range, scan, [&](ScanRow&& row) {
            blocks.add([&](std::string& block) { format->row(block, row); }, format->closing());
            progress.done(row.modulus);
        });
        blocks.flush();
    }
    out.write(format->closing());
    out.setClosing({});
    if (!finished) return {context.stoppedExitCode(), ""};
    return {};
}

} // namespace fibmod::cli
