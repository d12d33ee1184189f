// SPDX-License-Identifier: MIT
// The subcommand "period" on the command line; its work is the period command's.
#include "cli/period_command.h"

#include <unistd.h>

#include <ext/stdio_filebuf.h>
#include <istream>

namespace fibmod::cli {

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
        // Loading the command may fail as its running may: the same report.
        const CommandResult loaded = RunChecked([] {
            PeriodCommand();
            return CommandResult{};
        });
        if (loaded.exitCode != 0) Deliver(loaded);
        PeriodCommand().check(options);
        // std::cin, bound to C's stdin, cannot tell whether a line is
        // waiting; a file buffer on the descriptor can (in_avail).
        __gnu_cxx::stdio_filebuf<char> buffer(STDIN_FILENO, std::ios::in, 1 << 16);
        std::istream input(&buffer);
        Deliver(RunChecked([&] { return PeriodCommand().run(options, context, input); }));
    });
}

} // namespace fibmod::cli
