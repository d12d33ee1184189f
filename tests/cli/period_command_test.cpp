// SPDX-License-Identifier: MIT
// The subcommand "period" run in-process: its checks, standard input, and exact JSON integers.
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "cli/period_command.h"
#include "cli/usage_errors.h"
#include "core/engine/text_line.h"

namespace fibmod::cli {
namespace {

// The lines of a text, without their line feeds.
std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// What was written to `file` so far.
std::string WrittenTo(FILE* file)
{
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    return text;
}

// What the command wrote, through a temporary file, with standard input read
// from the buffer that `input` makes (given what was written so far).
template <class MakeInput>
std::pair<CommandResult, std::string> RunPeriodOn(const PeriodCommandOptions& options, const MakeInput& input)
{
    const std::unique_ptr<FILE, int (*)(FILE*)> file(std::tmpfile(), &std::fclose);
    OutputFile out(fileno(file.get()));
    CommandContext context{.out = out};
    auto buffer = input([&file] { return WrittenTo(file.get()); });
    std::istream in(&buffer);
    const CommandResult result = RunPeriodCommand(options, context, in);
    return {result, WrittenTo(file.get())};
}

std::pair<CommandResult, std::string> RunPeriod(const PeriodCommandOptions& options, const std::string& input = "")
{
    return RunPeriodOn(options, [&input](const auto&) { return std::stringbuf(input); });
}

// Standard input like a pipe left open: its lines, then nothing for now.
// When the command asks for more, `asked` is called (once), and the input
// ends.
class InputLeftOpen : public std::streambuf {
public:
    InputLeftOpen(std::string lines, std::function<void()> asked) : lines_(std::move(lines)), asked_(std::move(asked))
    {
    }
    InputLeftOpen(InputLeftOpen&&) = default;

protected:
    int_type underflow() override
    {
        if (!given_) {
            given_ = true;
            setg(lines_.data(), lines_.data(), lines_.data() + lines_.size());
            return traits_type::to_int_type(*gptr());
        }
        if (asked_) std::exchange(asked_, nullptr)();
        return traits_type::eof();
    }

private:
    std::string lines_;
    std::function<void()> asked_;
    bool given_ = false;
};

std::string CheckFailure(const PeriodCommandOptions& options)
{
    try {
        CheckPeriodOptions(options);
    } catch (const CLI::ValidationError& error) {
        return error.what();
    }
    return "";
}

TEST(PeriodCommand, NeedsExactlyOneSourceOfModuli)
{
    PeriodCommandOptions options;
    EXPECT_NE(CheckFailure(options), "");
    options.from = "2";
    EXPECT_EQ(CheckFailure(options), "--from: a range needs --to as well");
    options.to = "3";
    EXPECT_EQ(CheckFailure(options), "");
    options.moduli = {"5"};
    EXPECT_NE(CheckFailure(options), "");
    options = {};
    options.moduli = {"-", "5"};
    EXPECT_NE(CheckFailure(options), "");
    options.moduli = {"12", "170141183460469231731687303715884105728"};
    EXPECT_EQ(CheckFailure(options),
              "MODULUS: 170141183460469231731687303715884105728 is outside the range 2 to "
              "170141183460469231731687303715884105727");
    options.moduli = {"12"};
    options.inputs.r2 = "1e3";
    EXPECT_EQ(CheckFailure(options), "--r2: '1e3' is not a whole number in decimal digits");
}

TEST(PeriodCommand, StandardInputStopsAtABadLineAfterTheRowsBeforeIt)
{
    PeriodCommandOptions options;
    options.moduli = {"-"};
    options.format = "csv";
    const auto [result, text] = RunPeriod(options, "12\r\n\n  13 \nx\n14\n");
    EXPECT_EQ(result.exitCode, kUsageError);
    EXPECT_EQ(result.err, "fibmod-cli: standard input, line 4: 'x' is not a whole number in decimal digits\n");
    EXPECT_EQ(text, "modulus,preperiod1,length1,preperiod2,length2,factors\r\n12,0,4,0,12,2^2 3\r\n13,0,14,0,12,13\r\n");
}

TEST(PeriodCommand, WritesTheRowsOfTheLinesReadBeforeWaitingForMore)
{
    PeriodCommandOptions options;
    options.moduli = {"-"};
    options.format = "csv";
    options.noHeader = true;
    std::string writtenWhenAsked;
    const auto [result, text] = RunPeriodOn(options, [&](const std::function<std::string()>& written) {
        return InputLeftOpen("12\n13\n", [&, written] { writtenWhenAsked = written(); });
    });
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(writtenWhenAsked, "12,0,4,0,12,2^2 3\r\n13,0,14,0,12,13\r\n");
    EXPECT_EQ(text, writtenWhenAsked);
}

// A period reaches p² − 1 where s is not ±1: the table's columns leave room.
TEST(PeriodCommand, AlignsTheTableWherePeriodsHaveTwiceTheDigitsOfTheModulus)
{
    PeriodCommandOptions options;
    options.moduli = {"2147483629", "12"};
    options.inputs.s2 = "2";
    const auto [result, text] = RunPeriod(options);
    const std::vector<std::string> lines = LinesOf(text);
    ASSERT_EQ(lines.size(), 3U) << text;
    const std::size_t factors = TextWidth(lines[0].substr(0, lines[0].find("Zerlegung")));
    EXPECT_EQ(lines[1].rfind(" 2147483629"), factors - 1) << text;
    EXPECT_EQ(lines[2].rfind(" 2^2 3"), factors - 1) << text;
}

TEST(PeriodCommand, WritesNumbersPast64BitsAsExactJsonIntegers)
{
    PeriodCommandOptions options;
    options.moduli = {"100000000000000000000000000000000000000"};
    options.format = "json";
    options.inputs.r1 = "1";
    options.inputs.s1 = "1";
    options.inputs.start1 = "0,1";
    const auto [result, text] = RunPeriod(options);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(text.find("\"length1\": 150000000000000000000000000000000000000,"), std::string::npos) << text;
    EXPECT_NE(text.find("\"factors\": [[2, 38], [5, 38]]"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 3), "\n]\n");
}

} // namespace
} // namespace fibmod::cli
