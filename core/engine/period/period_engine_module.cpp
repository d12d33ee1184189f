// SPDX-License-Identifier: MIT
// The module fibmod-period.so: the period engine behind its one entry.
#include "core/engine/period/period_engine.h"

#include <vector>

#include "core/engine/period/period_run.h"

namespace fibmod {

namespace {

WholeInputs InputsOf(const WholeInputTexts& texts)
{
    return {BigInt::FromDecimal(texts.r), BigInt::FromDecimal(texts.s), BigInt::FromDecimal(texts.first),
            BigInt::FromDecimal(texts.second)};
}

std::vector<WholeInputs> SequencesOf(const PeriodJob& job)
{
    return {InputsOf(job.sequences[0]), InputsOf(job.sequences[1])};
}

PeriodRunOptions RunOptionsOf(const PeriodJob& job)
{
    PeriodRunOptions options;
    options.threads = job.threads;
    options.stop = job.stop;
    return options;
}

PeriodSink TextSink(const PeriodRowSink& sink)
{
    return [&sink](ModulusPeriods&& row) { sink(RowText(row)); };
}

bool Periods(const PeriodJob& job, std::span<const PeriodUInt128> moduli, const PeriodRowSink& sink)
{
    return ComputePeriods(SequencesOf(job), moduli.size(), [moduli](std::uint64_t i) { return BigInt(moduli[i]); },
                          RunOptionsOf(job), TextSink(sink));
}

bool Range(const PeriodJob& job, PeriodUInt128 from, PeriodUInt128 to, const PeriodRowSink& sink)
{
    return PeriodRange(SequencesOf(job), BigInt(from), BigInt(to), RunOptionsOf(job), TextSink(sink));
}

constexpr PeriodEngine kEngine{&Periods, &Range};

} // namespace

} // namespace fibmod

// The module's entry (kPeriodEngineEntry); the only name it exports.
extern "C" __attribute__((visibility("default"))) const void* fibmod_period_engine() { return &fibmod::kEngine; }
