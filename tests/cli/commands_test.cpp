// SPDX-License-Identifier: MIT
// The commands run in-process, writing into a file as they would to standard output.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <future>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/command_result.h"
#include "cli/interruption.h"
#include "cli/next_command.h"
#include "cli/output_file.h"
#include "cli/scan_command.h"
#include "cli/show_command.h"
#include "core/engine/scan.h"
#include "core/engine/scan_csv.h"
#include "tests/support/collected_scan.h"

namespace fibmod::cli {
namespace {

// A command's standard output: a temporary file read back at the end.
class CapturedOutput {
public:
    CapturedOutput() : file_(std::tmpfile(), &std::fclose), out_(fileno(file_.get())) {}

    OutputFile& out() { return out_; }

    std::string text()
    {
        std::string all;
        std::rewind(file_.get());
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file_.get())) > 0;) all.append(buffer, n);
        return all;
    }

private:
    std::unique_ptr<FILE, int (*)(FILE*)> file_;
    OutputFile out_;
};

// The exit code of a command run in a plain context, and what it wrote.
template <class Options>
std::pair<int, std::string> RunCaptured(CommandResult (*run)(const Options&, CommandContext&), const Options& options)
{
    CapturedOutput captured;
    CommandContext context{.out = captured.out()};
    const int exitCode = run(options, context).exitCode;
    return {exitCode, captured.text()};
}

ScanCommandOptions CsvScan(std::int64_t from, std::int64_t to)
{
    ScanCommandOptions options;
    options.from = from;
    options.to = to;
    options.format = "csv";
    return options;
}

TEST(ScanCommand, WritesTheCoresScanUpTo2000WithOneAndTwoThreads)
{
    const std::string expected = ScanCsv(*Scan(TextsOf(InputsOptions{}, ""), {2, 2000}));
    for (const int threads : {1, 2}) {
        ScanCommandOptions options = CsvScan(2, 2000);
        options.engine.threads = threads;
        EXPECT_EQ(RunCaptured(RunScanCommand, options), std::make_pair(0, expected)) << threads << " threads";
    }
}

TEST(ScanCommand, StoppedEndsOnAWholeRowWithTheStoppedExitCode)
{
    for (const std::string format : {"csv", "json"}) {
        CapturedOutput captured;
        std::stop_source stop;
        CommandContext context{.out = captured.out(),
                               .stop = stop.get_token(),
                               .stoppedExitCode = [] { return 143; }};
        context.scan.beforeModulus = [&stop](std::int64_t m) {
            if (m == 300) stop.request_stop();
        };
        ScanCommandOptions options = CsvScan(2, 5000);
        options.format = format;
        const CommandResult result = RunScanCommand(options, context);
        EXPECT_EQ(result.exitCode, 143);
        const std::string text = captured.text();
        if (format == "csv") {
            const std::string whole = ScanCsv(*Scan(TextsOf(InputsOptions{}, ""), {2, 299}));
            EXPECT_THAT(text, testing::EndsWith("\r\n"));
            EXPECT_EQ(whole.substr(0, text.size()), text);
        } else {
            EXPECT_THAT(text, testing::EndsWith("}\n]\n"));
        }
    }
}

TEST(ShowCommand, LaysOutTheWorkedExampleUnderTheWindowsHeadings)
{
    ShowCommandOptions options;
    options.modulus = 3;
    const auto [exitCode, text] = RunCaptured(RunShowCommand, options);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(text, "Modul 3\n"
                    "\n"
                    "Def.  Folge 1   Def.   Folge 2   Gemeinsames Folgenglied x  bei...\n"
                    " 2               0                2 bei  1 2\n"
                    " 2               2                2 bei  2 2\n"
                    " 1               2                2 bei  1 3\n"
                    " 1               0                2 bei  2 3\n"
                    "                 1                1 bei  3 5\n"
                    "                 1                1 bei  4 5\n"
                    "                                  1 bei  3 6\n"
                    "                                  1 bei  4 6\n"
                    "\n"
                    "\n"
                    "                                 Zusammenfassung:\n"
                    "                                 gemeinsam sind\n"
                    "                                 die Reste\n"
                    "\n"
                    "                                  1\n"
                    "                                  2\n"
                    "\n"
                    "Zykellänge: 4   Zykellänge: 6    Anzahl gemeinsamer Glieder: 2\n");
}

TEST(NextCommand, FindsTheWindowsStopAndSaysWhenAnotherLimitHasNone)
{
    NextCommandOptions options;
    options.modulus = 2;
    EXPECT_EQ(RunCaptured(RunNextCommand, options), std::make_pair(0, std::string("4\n")));

    options.inputs.r1 = "4";
    options.modulus = 1950;
    options.limit = 2100;
    EXPECT_EQ(RunCaptured(RunNextCommand, options),
              std::make_pair(0, std::string("Kein Modul über 1950 bis 2100 hat genau einen gemeinsamen Rest\n")));
}

TEST(CheckedWrites, AFullDiskIsExitCode1WithOneLine)
{
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    OutputFile out(full);
    CommandContext context{.out = out};
    const CommandResult result = RunChecked([&] { return RunScanCommand(CsvScan(2, 10), context); });
    ::close(full);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "fibmod-cli: cannot write the output: No space left on device\n");
}

TEST(CheckedWrites, AReaderThatWentAwayEndsTheCommandQuietly)
{
    // As the program does: the write fails instead of ending the process.
    std::signal(SIGPIPE, SIG_IGN);
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    OutputFile out(ends[1]);
    CommandContext context{.out = out};
    const CommandResult result = RunChecked([&] { return RunScanCommand(CsvScan(2, 10), context); });
    ::close(ends[1]);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
}

TEST(CheckedWrites, ATextLongerThanThePipeTakesArrivesWhole)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::string arrived;
    std::jthread reader([&] {
        char buffer[1000];
        for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;) arrived.append(buffer, static_cast<std::size_t>(n));
    });
    std::string text;
    for (int i = 0; i < 100000; ++i) text += std::to_string(i) + "\n";
    {
        OutputFile out(ends[1]);
        out.write(text);
    }
    ::close(ends[1]);
    reader.join();
    ::close(ends[0]);
    EXPECT_EQ(arrived, text);
}

} // namespace
// A computation that never looks at the stop request is ended once the
// grace has passed after the signal, with the signal's exit code.
TEST(Interruption, EndsAProgramThatIgnoresTheStopAfterTheGrace)
{
    std::promise<int> overdue;
    std::future<int> code = overdue.get_future();
    Interruption interruption(std::chrono::milliseconds(1), [&overdue](int exitCode) { overdue.set_value(exitCode); });
    std::raise(SIGINT);
    EXPECT_EQ(code.get(), 130);
    EXPECT_TRUE(interruption.token().stop_requested());
}

} // namespace fibmod::cli
