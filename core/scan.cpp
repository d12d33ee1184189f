// SPDX-License-Identifier: MIT
// Every modulus at once, through the window's own computation.
#include "core/scan.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "core/recurrence.h"
#include "core/run_time_error.h"

namespace fibmod {

namespace {

ScanRow ErrorRow(std::int32_t modulus, const RunTimeError& error)
{
    ScanRow row;
    row.modulus = modulus;
    row.error = error.number();
    row.message = error.message();
    return row;
}

// Rows for moduli from..to, each computed by `rowOf`, on worker threads that
// take the moduli from a shared counter, the largest first, so that the
// costliest end is not left to one thread.
template <class RowOf>
std::optional<std::vector<ScanRow>> EachModulus(ModulusRange range, const ScanOptions& options, RowOf&& rowOf)
{
    const int from = std::max(range.from, kModulusMin);
    const int to = std::min(range.to, kModulusMax);
    if (from > to) return std::vector<ScanRow>{};
    const auto count = static_cast<std::size_t>(to - from + 1);
    std::vector<ScanRow> rows(count);
    std::atomic<std::size_t> taken{0};

    const auto work = [&] {
        for (std::size_t k = taken++; k < count; k = taken++) {
            if (options.stop.stop_requested()) return;
            if (options.beforeModulus) {
                options.beforeModulus();
                if (options.stop.stop_requested()) return;
            }
            const std::size_t slot = count - 1 - k;
            rows[slot] = rowOf(static_cast<std::int32_t>(from + static_cast<int>(slot)));
            if (options.onRow) options.onRow(rows[slot]);
        }
    };

    unsigned threads = options.threads != 0 ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, count));
    {
        std::vector<std::jthread> helpers;
        for (unsigned t = 1; t < threads; ++t) helpers.emplace_back(work);
        work();
    }
    if (options.stop.stop_requested()) return std::nullopt;
    return rows;
}

} // namespace

ScanRow ScanModulus(const Inputs& inputs, std::int32_t modulus)
{
    const double M = modulus;
    try {
        // Sequence 2 first, as the window computes it.
        const std::vector<double> cycle2 = Cycle(inputs.two, M);
        const std::vector<double> cycle1 = Cycle(inputs.one, M);
        ScanRow row;
        row.modulus = modulus;
        row.length1 = static_cast<std::int32_t>(cycle1.size());
        row.length2 = static_cast<std::int32_t>(cycle2.size());
        row.residues = CommonResidues(CommonMembers(cycle2, cycle1), M);
        return row;
    } catch (const RunTimeError& error) {
        return ErrorRow(modulus, error);
    }
}

std::optional<std::vector<ScanRow>> Scan(const Inputs& inputs, ModulusRange range, const ScanOptions& options)
{
    return EachModulus(range, options, [&inputs](std::int32_t modulus) { return ScanModulus(inputs, modulus); });
}

std::optional<std::vector<ScanRow>> Scan(const InputTexts& texts, ModulusRange range, const ScanOptions& options)
{
    Inputs inputs;
    try {
        inputs = ValuesOf(texts);
    } catch (const RunTimeError& error) {
        return EachModulus(range, options, [&error](std::int32_t modulus) { return ErrorRow(modulus, error); });
    }
    return Scan(inputs, range, options);
}

} // namespace fibmod
