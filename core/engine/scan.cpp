// SPDX-License-Identifier: MIT
// Every modulus of a range on worker threads, handed on in ascending order.
#include "core/engine/scan.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "core/engine/interleaved_walks.h"
#include "core/engine/run_time_error.h"
#include "core/engine/worker_threads.h"

namespace fibmod {

namespace {

// Moduli a worker takes at a time, in ascending order.
constexpr std::int64_t kChunk = 8;
// How many chunks per thread the workers may run ahead of the row the sink
// waits for: it bounds the rows held at once.
constexpr std::int64_t kChunksAhead = 16;
// No new chunk is taken while the rows held hold more residues than this
// (32 MB), whatever their number: rows of large moduli can be large.
constexpr std::size_t kHeldResiduesBudget = std::size_t{1} << 22;

// The range clipped to the moduli the engine computes; empty when from > to.
ModulusRange Clipped(ModulusRange range)
{
    return {std::max<std::int64_t>(range.from, kModulusMin), std::min(range.to, kEngineModulusMax)};
}

// Computes the moduli a source gives, handing each row to a sink as it is
// done (in any order), until the source gives none while idle or `stop`.
using Compute =
    std::function<void(const InterleavedWalks::Source&, const InterleavedWalks::Sink&, std::stop_token)>;

// Workers take chunks of moduli from a shared counter and put each row into
// a ring of slots keyed by modulus; the calling thread hands the rows on in
// order as soon as the next one is there. A worker takes a chunk only when it
// fits into the ring, so it never runs further ahead than the ring is long.
class OrderedScan {
public:
    OrderedScan(ModulusRange range, const ScanOptions& options, const Compute& compute, const RowSink& sink)
        : range_(range), options_(options), compute_(compute), sink_(sink), threads_(WorkerThreads(options.threads)),
          window_(static_cast<std::int64_t>(threads_) * kChunk * kChunksAhead),
          ring_(static_cast<std::size_t>(window_)), nextChunk_(range.from), wanted_(range.from)
    {
    }

    bool run()
    {
        const std::int64_t chunks = (range_.to - range_.from) / kChunk + 1;
        const auto workers = static_cast<unsigned>(std::min<std::int64_t>(threads_, chunks));
        {
            std::vector<std::jthread> pool;
            pool.reserve(workers);
            for (unsigned t = 0; t < workers; ++t) pool.emplace_back([this] { work(); });
            write();
            {
                const std::lock_guard lock(mutex_);
                ended_ = true;
            }
            changed_.notify_all();
        }
        if (failure_) std::rethrow_exception(failure_);
        return wanted_ > range_.to;
    }

private:
    // A worker's moduli not yet begun.
    struct Chunk {
        std::int64_t next = 1;
        std::int64_t last = 0;
    };

    std::optional<ScanRow>& slot(std::int64_t modulus)
    {
        return ring_[static_cast<std::size_t>((modulus - range_.from) % window_)];
    }

    void fail(std::exception_ptr error)
    {
        {
            const std::lock_guard lock(mutex_);
            if (!failure_) failure_ = std::move(error);
            ended_ = true;
        }
        changed_.notify_all();
    }

    // The calling thread's part: hands the rows on in order.
    void write()
    {
        while (wanted_ <= range_.to) {
            if (options_.stop.stop_requested()) return;
            ScanRow row;
            {
                std::unique_lock lock(mutex_);
                if (!changed_.wait(lock, options_.stop, [this] { return ended_ || slot(wanted_).has_value(); }))
                    return;
                if (ended_) return;
                row = std::move(*slot(wanted_));
                slot(wanted_).reset();
                heldResidues_ -= row.residues.size();
                ++wanted_;
            }
            changed_.notify_all();
            try {
                sink_(std::move(row));
            } catch (...) {
                fail(std::current_exception());
                return;
            }
        }
    }

    // Takes the next chunk into `chunk`; waits for room in the ring only when
    // `idle`. False when there is none (now, or at all).
    bool claim(Chunk& chunk, bool idle)
    {
        std::unique_lock lock(mutex_);
        const auto ready = [this] {
            return ended_ || nextChunk_ > range_.to ||
                   (nextChunk_ + kChunk <= wanted_ + window_ && heldResidues_ <= kHeldResiduesBudget);
        };
        if (idle ? !changed_.wait(lock, options_.stop, ready) : !ready()) return false;
        if (ended_ || nextChunk_ > range_.to) return false;
        chunk.next = nextChunk_;
        chunk.last = std::min(nextChunk_ + kChunk - 1, range_.to);
        nextChunk_ = chunk.last + 1;
        return true;
    }

    void put(ScanRow&& row)
    {
        bool next;
        {
            const std::lock_guard lock(mutex_);
            next = row.modulus == wanted_;
            heldResidues_ += row.residues.size();
            slot(row.modulus) = std::move(row);
        }
        if (next) changed_.notify_all();
    }

    // A worker's part: the moduli of chunk after chunk, while the ring has room.
    void work()
    {
        try {
            Chunk chunk;
            const auto source = [&](bool idle) -> std::optional<std::int64_t> {
                if (chunk.next > chunk.last && !claim(chunk, idle)) return std::nullopt;
                if (options_.stop.stop_requested()) return std::nullopt;
                if (!idle && options_.mayBegin && !options_.mayBegin(chunk.next)) return std::nullopt;
                const std::int64_t modulus = chunk.next++;
                if (options_.beforeModulus) options_.beforeModulus(modulus);
                return modulus;
            };
            compute_(source, [this](ScanRow&& row) { put(std::move(row)); }, options_.stop);
        } catch (...) {
            fail(std::current_exception());
        }
    }

    ModulusRange range_;
    const ScanOptions& options_;
    const Compute& compute_;
    const RowSink& sink_;
    unsigned threads_;
    std::int64_t window_;

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::vector<std::optional<ScanRow>> ring_;
    std::int64_t nextChunk_;
    std::int64_t wanted_;
    std::size_t heldResidues_ = 0;
    bool ended_ = false;
    std::exception_ptr failure_;
};

bool EachModulus(ModulusRange range, const ScanOptions& options, const RowSink& sink, const Compute& compute)
{
    range = Clipped(range);
    if (range.from > range.to) return !options.stop.stop_requested();
    OrderedScan scan(range, options, compute, sink);
    return scan.run();
}


} // namespace

bool ScanRows(const Inputs& inputs, ModulusRange range, const ScanOptions& options, const RowSink& sink)
{
    if (!BoundFits(inputs, options.maxTerms)) throw std::invalid_argument(BoundProblem(inputs, options.maxTerms));
    const InterleavedWalks walks(inputs, options.maxTerms);
    return EachModulus(range, options, sink,
                       [&walks](const InterleavedWalks::Source& next, const InterleavedWalks::Sink& done,
                                std::stop_token stop) { walks.run(next, done, stop); });
}

bool ScanRows(const InputTexts& texts, ModulusRange range, const ScanOptions& options, const RowSink& sink)
{
    Inputs inputs;
    try {
        inputs = ValuesOf(texts);
    } catch (const RunTimeError& error) {
        return EachModulus(range, options, sink,
                           [&error](const InterleavedWalks::Source& next, const InterleavedWalks::Sink& done,
                                    std::stop_token) {
                               while (const std::optional<std::int64_t> modulus = next(true))
                                   done(ErrorRow(*modulus, error));
                           });
    }
    return ScanRows(inputs, range, options, sink);
}

std::optional<ScanRow> NextStop(const InputTexts& texts, std::int64_t modulus, std::int64_t limit,
                                const ScanOptions& options)
{
    std::stop_source found;
    const std::stop_callback forward(options.stop, [&found] { found.request_stop(); });
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
