// SPDX-License-Identifier: MIT
// Every modulus of a range on worker threads, handed on in ascending order.
#include "core/engine/scan.h"

#include <algorithm>
#include <stdexcept>

#include "core/engine/ordered_run.h"
#include "core/engine/run_time_error.h"

namespace fibmod {

namespace {

// Moduli a worker takes at a time, in ascending order.
constexpr std::uint64_t kChunk = 8;
// How many chunks per thread the workers may run ahead of the row the sink
// waits for: it bounds the rows held at once.
constexpr std::uint64_t kChunksAhead = 16;
// No new chunk is taken while the rows held hold more residues than this
// (32 MB), whatever their number: rows of large moduli can be large.
constexpr std::size_t kHeldResiduesBudget = std::size_t{1} << 22;
// From this modulus on one modulus may take longer than the wake interval:
// the sink is woken before each, so that no row waits for the next modulus.
constexpr std::int64_t kWakeBeforeEachFrom = std::int64_t{1} << 20;

// The range clipped to the moduli the engine computes; empty when from > to.
ModulusRange Clipped(ModulusRange range)
{
    return {std::max<std::int64_t>(range.from, kModulusMin), std::min(range.to, kEngineModulusMax)};
}

// Hands the rows of every modulus of the range to `sink` in order; each
// worker computes its moduli with the function makeCompute() returns there
// (see RunOrdered).
template <class MakeCompute>
bool EachModulus(ModulusRange range, const ScanOptions& options, const RowSink& sink, const MakeCompute& makeCompute)
{
    range = Clipped(range);
    if (range.from > range.to) return !options.stop.stop_requested();
    const std::int64_t from = range.from;
    OrderedRunOptions<ScanRow> run;
    run.threads = options.threads;
    run.stop = options.stop;
    run.chunk = kChunk;
    run.aheadPerThread = kChunk * kChunksAhead;
    run.weigh = [](const ScanRow& row) { return row.residues.size(); };
    run.weightBudget = kHeldResiduesBudget;
    run.wakeBeforeEachFrom = static_cast<std::uint64_t>(std::max<std::int64_t>(kWakeBeforeEachFrom - from, 0));
    if (options.beforeModulus)
        run.beforeItem = [&options, from](std::uint64_t item) {
            options.beforeModulus(from + static_cast<std::int64_t>(item));
        };
    const auto count = static_cast<std::uint64_t>(range.to - from) + 1;
    return RunOrdered(count, run, [&makeCompute, from] {
        return [compute = makeCompute(), from](std::uint64_t item) mutable {
            return compute(from + static_cast<std::int64_t>(item));
        };
    }, sink);
}

} // namespace

bool ScanRows(const Inputs& inputs, ModulusRange range, const ScanOptions& options, const RowSink& sink)
{
    if (!BoundFits(inputs, options.maxTerms)) throw std::invalid_argument(BoundProblem(inputs, options.maxTerms));
    // One modulus at a time per worker: its two walks run in vector lanes
    // inside each cycle, and its flag tables stay in the worker's cache.
    return EachModulus(range, options, sink, [&inputs, &options] {
        RowScratch scratch;
        scratch.stop = options.stop;
        scratch.residues = options.residues;
        return [&inputs, &options, scratch = std::move(scratch)](std::int64_t modulus) mutable {
            return ScanModulus(inputs, modulus, options.maxTerms, scratch);
        };
    });
}

bool ScanRows(const InputTexts& texts, ModulusRange range, const ScanOptions& options, const RowSink& sink)
{
    Inputs inputs;
    try {
        inputs = ValuesOf(texts);
    } catch (const RunTimeError& error) {
        return EachModulus(range, options, sink, [&error] {
            return [&error](std::int64_t modulus) { return std::optional<ScanRow>(ErrorRow(modulus, error)); };
        });
    }
    return ScanRows(inputs, range, options, sink);
}

std::optional<ScanRow> NextStop(const InputTexts& texts, std::int64_t modulus, std::int64_t limit,
                                const ScanOptions& options)
{
    StopSource found;
    auto passOn = [&found] { found.request_stop(); };
    const StopCallback<decltype(passOn)> forward(options.stop, passOn);
    ScanOptions own = options;
    own.stop = found.get_token();
    std::optional<ScanRow> stop;
    ScanRows(texts, {modulus + 1, limit}, own, [&](ScanRow&& row) {
        if (stop || !StopsStepping(row)) return;
        stop = std::move(row);
        found.request_stop();
    });
    return stop;
}

} // namespace fibmod
