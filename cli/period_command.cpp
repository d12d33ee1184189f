// SPDX-License-Identifier: MIT
// The subcommand "period": moduli from arguments, standard input or a range,
// their periods from the period engine, written in order.
#include "cli/period_command.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>

#include "cli/progress_line.h"
#include "cli/usage_errors.h"
#include "core/engine/input_rules.h"
#include "core/engine/period/period_run.h"

namespace fibmod::cli {

namespace {

// A whole number of any length, or a usage error naming the option.
BigInt WholeOption(const std::string& name, std::string_view text)
{
    try {
        return ReadBigWholeNumber(text);
    } catch (const std::invalid_argument& error) {
        throw CLI::ValidationError(name, error.what());
    }
}

// A modulus, or a usage error naming where it came from.
BigInt ModulusOption(const std::string& name, std::string_view text)
{
    try {
        return ReadPeriodModulus(text);
    } catch (const std::invalid_argument& error) {
        throw CLI::ValidationError(name, error.what());
    }
}

// "A,B" split at its only comma, each half whole.
std::pair<BigInt, BigInt> StartPair(const std::string& name, const std::string& text)
{
    const auto halves = StartPairHalves(text);
    if (!halves) throw CLI::ValidationError(name, NotTwoNumbers(text));
    return {WholeOption(name, halves->first), WholeOption(name, halves->second)};
}

std::vector<WholeInputs> SequencesOf(const InputsOptions& inputs)
{
    auto [first1, second1] = StartPair("--start1", inputs.start1);
    auto [first2, second2] = StartPair("--start2", inputs.start2);
    return {{WholeOption("--r1", inputs.r1), WholeOption("--s1", inputs.s1), std::move(first1), std::move(second1)},
            {WholeOption("--r2", inputs.r2), WholeOption("--s2", inputs.s2), std::move(first2), std::move(second2)}};
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
    TableFormat(std::size_t largest, const std::vector<WholeInputs>& sequences)
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
    static std::size_t LengthDigits(std::size_t largest, const WholeInputs& sequence)
    {
        return PeriodLengthDigits(largest, sequence.s == BigInt(1) || sequence.s == BigInt(-1));
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
                                    const std::vector<WholeInputs>& sequences)
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

std::vector<BigInt> NextBatch(std::istream& input, std::uint64_t& lineNumber, std::string& problem)
{
    std::vector<BigInt> moduli;
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
        const BigInt from = ModulusOption("--from", options.from);
        const BigInt to = ModulusOption("--to", options.to);
        if (from > to)
            throw CLI::ValidationError("--from", from.toString() + " is above --to " + to.toString());
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
    const std::vector<WholeInputs> sequences = SequencesOf(options.inputs);
    const bool range = !options.from.empty();
    const bool standardInput = FromStandardInput(options);

    std::vector<BigInt> moduli;
    if (!range && !standardInput)
        for (const std::string& text : options.moduli) moduli.push_back(ReadBigWholeNumber(text));
    std::size_t largestDigits = PeriodModulusMax().toString().size();
    if (range) largestDigits = ReadBigWholeNumber(options.to).toString().size();
    if (!moduli.empty()) largestDigits = std::max_element(moduli.begin(), moduli.end())->toString().size();
    const std::unique_ptr<RowFormat> format = FormatOf(options.format, largestDigits, sequences);

    PeriodRunOptions run;
    run.threads = static_cast<unsigned>(options.engine.threads);
    run.stop = context.stop;
    OutputFile& out = context.out;
    out.setClosing(format->closing());
    if (!options.noHeader) out.write(format->head());
    std::int64_t written = 0;
    std::optional<ProgressLine> progress;
    const auto sink = [&](ModulusPeriods&& row) {
        const std::string text = format->row(RowText(row));
        if (!progress) return out.write(text, format->closing());
        progress->writeBeside([&] { out.write(text, format->closing()); });
        progress->done(++written);
    };

    bool finished = true;
    std::string problem;
    if (range) {
        const BigInt from = ReadBigWholeNumber(options.from);
        const BigInt to = ReadBigWholeNumber(options.to);
        const BigInt count = to - from;
        const bool counted = count < BigInt(std::numeric_limits<std::int64_t>::max());
        progress.emplace(ModulusRange{1, counted ? static_cast<std::int64_t>(count.toUInt64()) + 1 : 1},
                         counted && context.progress && !options.engine.quiet, ModulusCost::Even);
        finished = PeriodRange(sequences, from, to, run, sink);
    } else if (standardInput) {
        std::uint64_t lineNumber = 0;
        while (finished && problem.empty() && input) {
            const std::vector<BigInt> batch = NextBatch(input, lineNumber, problem);
            finished = ComputePeriods(sequences, batch.size(), [&](std::uint64_t i) { return batch[i]; }, run, sink);
        }
    } else {
        finished = ComputePeriods(sequences, moduli.size(), [&](std::uint64_t i) { return moduli[i]; }, run, sink);
    }
    progress.reset();
    out.write(format->closing());
    out.setClosing({});
    if (!problem.empty()) return {kUsageError, problem};
    if (!finished) return {context.stoppedExitCode(), ""};
    return {};
}

const PeriodCommandEntry& PeriodCommandHere()
{
    static const PeriodCommandEntry entry{&CheckPeriodOptions, &RunPeriodCommand};
    return entry;
}

} // namespace fibmod::cli
