// SPDX-License-Identifier: MIT
// The subcommand "period": moduli from arguments, standard input or a range,
// their periods from the period engine, written in order.
#include "cli/period_command.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <ext/stdio_filebuf.h>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>

#include "cli/progress_line.h"
#include "cli/usage_errors.h"
#include "core/engine/input_rules.h"
#include "core/engine/period/period_engine.h"

namespace fibmod::cli {

namespace {

// A whole number of any length in plain form, or a usage error naming the
// option.
std::string WholeOption(const std::string& name, std::string_view text)
{
    try {
        return ReadWholeNumberText(text);
    } catch (const std::invalid_argument& error) {
        throw CLI::ValidationError(name, error.what());
    }
}

// A modulus, or a usage error naming where it came from.
PeriodUInt128 ModulusOption(const std::string& name, std::string_view text)
{
    try {
        return ReadPeriodModulus(text);
    } catch (const std::invalid_argument& error) {
        throw CLI::ValidationError(name, error.what());
    }
}

// "A,B" split at its only comma, each half whole.
std::pair<std::string, std::string> StartPair(const std::string& name, const std::string& text)
{
    const auto halves = StartPairHalves(text);
    if (!halves) throw CLI::ValidationError(name, NotTwoNumbers(text));
    return {WholeOption(name, halves->first), WholeOption(name, halves->second)};
}

std::array<WholeInputTexts, 2> SequencesOf(const InputsOptions& inputs)
{
    auto [first1, second1] = StartPair("--start1", inputs.start1);
    auto [first2, second2] = StartPair("--start2", inputs.start2);
    return {{{WholeOption("--r1", inputs.r1), WholeOption("--s1", inputs.s1), std::move(first1), std::move(second1)},
             {WholeOption("--r2", inputs.r2), WholeOption("--s2", inputs.s2), std::move(first2), std::move(second2)}}};
}

bool FromStandardInput(const PeriodCommandOptions& options)
{
    return options.moduli.size() == 1 && options.moduli.front() == "-";
}

// Writes the rows in one format, with the engine's writers.
class RowFormat {
public:
    virtual ~RowFormat() = default;
    virtual std::string head() { return {}; }
    virtual std::string row(const PeriodRowText& row) = 0;
    virtual std::string closing() { return {}; }
};

class TableFormat : public RowFormat {
public:
    // Moduli up to `largest` digits, of the sequences given.
    TableFormat(std::size_t largest, const std::array<WholeInputTexts, 2>& sequences)
        : table_(largest, {LengthDigits(largest, sequences[0]), LengthDigits(largest, sequences[1])})
    {
    }
    std::string head() override { return table_.head(); }
    std::string row(const PeriodRowText& row) override
    {
        std::string line;
        table_.appendRow(line, row);
        return line;
    }

private:
    static std::size_t LengthDigits(std::size_t largest, const WholeInputTexts& sequence)
    {
        return PeriodLengthDigits(largest, sequence.s == "1" || sequence.s == "-1");
    }

    PeriodTable table_;
};

class CsvFormat : public RowFormat {
public:
    std::string head() override { return PeriodCsvHeader(); }
    std::string row(const PeriodRowText& row) override
    {
        std::string line;
        AppendPeriodCsvLine(line, row);
        return line;
    }
};

class JsonFormat : public RowFormat {
public:
    std::string row(const PeriodRowText& row) override
    {
        std::string text;
        AppendPeriodJsonRow(text, row, first_);
        first_ = false;
        return text;
    }
    std::string closing() override { return PeriodJsonClosing(!first_); }

private:
    bool first_ = true;
};

std::unique_ptr<RowFormat> FormatOf(const std::string& format, std::size_t largestDigits,
                                    const std::array<WholeInputTexts, 2>& sequences)
{
    if (format == "csv") return std::make_unique<CsvFormat>();
    if (format == "json") return std::make_unique<JsonFormat>();
    return std::make_unique<TableFormat>(largestDigits, sequences);
}

// Moduli read from standard input at a time: enough to keep the workers
// busy, few enough that the rows before a bad line come out at once.
constexpr std::size_t kStandardInputBatch = 4096;

// The moduli of the next lines of `input`, at most a batch: once there is
// a modulus, only lines already there (buffered, or waiting in the pipe or
// the terminal) are read, so that a run never waits for input with rows
// undone. A bad line ends the batch and sets `problem` to its message.
// The longest part of a line kept: far more than a modulus with blanks
// around needs, so that a huge line is refused without being held.
constexpr std::size_t kLineKept = 4096;

// Reads the next line of `input` into `line`, at most its first kLineKept
// bytes (the rest is skipped); false at the end of the input.
bool NextLine(std::istream& input, std::string& line)
{
    line.clear();
    std::streambuf& buffer = *input.rdbuf();
    bool any = false;
    for (int c; (c = buffer.sbumpc()) != std::char_traits<char>::eof();) {
        any = true;
        if (c == '\n') return true;
        if (line.size() < kLineKept) line.push_back(static_cast<char>(c));
    }
    // As std::getline: the end after a last line without its line feed
    // is a line; the end with nothing read fails.
    input.setstate(any ? std::ios::eofbit : std::ios::eofbit | std::ios::failbit);
    return any;
}

std::vector<PeriodUInt128> NextBatch(std::istream& input, std::uint64_t& lineNumber, std::string& problem)
{
    std::vector<PeriodUInt128> moduli;
    std::string line;
    while (moduli.size() < kStandardInputBatch && (moduli.empty() || input.rdbuf()->in_avail() > 0) &&
           NextLine(input, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        try {
            moduli.push_back(ReadPeriodModulus(line));
        } catch (const std::invalid_argument& error) {
            problem = "fibmod-cli: " + ShortenedWords("standard input, line " + std::to_string(lineNumber) + ": " +
                                                      error.what()) +
                      "\n";
            break;
        }
    }
    return moduli;
}

} // namespace

void CheckPeriodOptions(const PeriodCommandOptions& options)
{
    SequencesOf(options.inputs);
    const bool range = !options.from.empty() || !options.to.empty();
    if (range && options.to.empty()) throw CLI::ValidationError("--from", "a range needs --to as well");
    if (range && options.from.empty()) throw CLI::ValidationError("--to", "a range needs --from as well");
    if (range && !options.moduli.empty())
        throw CLI::ValidationError("MODULUS", "give the moduli as arguments, - or --from/--to, not more than one");
    if (!range && options.moduli.empty())
        throw CLI::ValidationError("MODULUS", "give the moduli as arguments, - (standard input) or --from/--to");
    if (range) {
        const PeriodUInt128 from = ModulusOption("--from", options.from);
        const PeriodUInt128 to = ModulusOption("--to", options.to);
        if (from > to)
            throw CLI::ValidationError("--from", DecimalText(from) + " is above --to " + DecimalText(to));
        return;
    }
    if (FromStandardInput(options)) return;
    for (const std::string& text : options.moduli) {
        if (text == "-") throw CLI::ValidationError("MODULUS", "- (standard input) stands alone, without moduli");
        ModulusOption("MODULUS", text);
    }
}

CommandResult RunPeriodCommand(const PeriodCommandOptions& options, CommandContext& context, std::istream& input)
{
    CheckPeriodOptions(options);
    const PeriodEngine* loaded = nullptr;
    try {
        loaded = &LoadedPeriodEngine();
    } catch (const PeriodEngineMissing& missing) {
        return {1, std::string("fibmod-cli: ") + missing.what() + "\n"};
    }
    const PeriodEngine& engine = *loaded;
    PeriodJob job{.sequences = SequencesOf(options.inputs),
                  .threads = static_cast<unsigned>(options.engine.threads),
                  .stop = context.stop};
    const bool range = !options.from.empty();
    const bool standardInput = FromStandardInput(options);

    std::vector<PeriodUInt128> moduli;
    if (!range && !standardInput)
        for (const std::string& text : options.moduli) moduli.push_back(ReadPeriodModulus(text));
    PeriodUInt128 largest = kPeriodModulusMax;
    if (range) largest = ReadPeriodModulus(options.to);
    if (!moduli.empty()) largest = *std::max_element(moduli.begin(), moduli.end());
    const std::unique_ptr<RowFormat> format = FormatOf(options.format, DecimalText(largest).size(), job.sequences);

    OutputFile& out = context.out;
    out.setClosing(format->closing());
    if (!options.noHeader) out.write(format->head());
    std::int64_t written = 0;
    std::optional<ProgressLine> progress;
    const auto sink = [&](PeriodRowText&& row) {
        const std::string text = format->row(row);
        if (!progress) return out.write(text, format->closing());
        progress->writeBeside([&] { out.write(text, format->closing()); });
        progress->done(++written);
    };

    bool finished = true;
    std::string problem;
    if (range) {
        const PeriodUInt128 from = ReadPeriodModulus(options.from);
        const PeriodUInt128 to = ReadPeriodModulus(options.to);
        const bool counted = to - from < static_cast<PeriodUInt128>(std::numeric_limits<std::int64_t>::max());
        progress.emplace(ModulusRange{1, counted ? static_cast<std::int64_t>(to - from) + 1 : 1},
                         counted && context.progress && !options.engine.quiet, ModulusCost::Even);
        finished = engine.range(job, from, to, sink);
    } else if (standardInput) {
        std::uint64_t lineNumber = 0;
        while (finished && problem.empty() && input) {
            const std::vector<PeriodUInt128> batch = NextBatch(input, lineNumber, problem);
            finished = engine.periods(job, batch, sink);
        }
    } else {
        finished = engine.periods(job, moduli, sink);
    }
    progress.reset();
    out.write(format->closing());
    out.setClosing({});
    if (!problem.empty()) return {kUsageError, problem};
    if (!finished) return {context.stoppedExitCode(), ""};
    return {};
}

void SetUpPeriodCommand(CLI::App& app, PeriodCommandOptions& options, CommandContext& context)
{
    CLI::App* period = app.add_subcommand(
        "period", "Gives the exact pre-period and period of both sequences for moduli up to 2^127 - 1.");
    SetUpInputsOptions(*period, options.inputs);
    period->add_option("MODULUS", options.moduli,
                       "moduli from 2 to 2^127 - 1, or - to read them from standard input, one a line")
        ->type_name("M");
    period->add_option("--from", options.from, "the first modulus of a range, from 2 to 2^127 - 1")->type_name("M");
    period->add_option("--to", options.to, "the last modulus of a range, from 2 to 2^127 - 1")->type_name("M");
    period->add_option("--format", options.format, "the output format")
        ->check(CLI::IsMember({"table", "csv", "json"}))
        ->capture_default_str();
    period->add_flag("--no-header", options.noHeader, "no header line (table, csv)");
    AddThreadsOptions(*period, options.engine);
    period->callback([&options, &context] {
        CheckPeriodOptions(options);
        // std::cin, bound to C's stdin, cannot tell whether a line is
        // waiting; a file buffer on the descriptor can (in_avail).
        __gnu_cxx::stdio_filebuf<char> buffer(STDIN_FILENO, std::ios::in, 1 << 16);
        std::istream input(&buffer);
        Deliver(RunChecked([&] { return RunPeriodCommand(options, context, input); }));
    });
}

} // namespace fibmod::cli
