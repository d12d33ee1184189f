// SPDX-License-Identifier: MIT
// Every modulus of a range on worker threads, handed on in ascending order.
#include "core/engine/scan.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

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
// The longest a finished row waits for its worker to wake the writer while
// its rows come fast.
constexpr std::chrono::microseconds kWakeInterval{500};
// From this modulus on one modulus may take longer than that: the writer is
// woken before each, so that no row waits for the next modulus.
constexpr std::int64_t kWakeBeforeEachFrom = std::int64_t{1} << 20;

// The range clipped to the moduli the engine computes; empty when from > to.
ModulusRange Clipped(ModulusRange range)
{
    return {std::max<std::int64_t>(range.from, kModulusMin), std::min(range.to, kEngineModulusMax)};
}

// Gives a worker its next modulus, or none when there are no more. `idle`
// is true when the worker has no modulus in flight, so that it may wait for
// work; when false it must answer at once (none: not now).
using Source = std::function<std::optional<std::int64_t>(bool idle)>;
// Receives each finished row, in the order the rows finish.
using Sink = std::function<void(ScanRow&& row)>;
// Computes the moduli a source gives, handing each row to a sink as it is
// done (in any order), until the source gives none while idle or `stop`.
using Compute = std::function<void(const Source&, const Sink&, StopToken)>;

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
            std::vector<WorkerThread> pool;
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
            bool roomWanted;
            {
                std::unique_lock lock(mutex_);
                if (!WaitUntil(changed_, lock, options_.stop, [this] { return ended_ || slot(wanted_).has_value(); }))
                    return;
                if (ended_) return;
                row = std::move(*slot(wanted_));
                slot(wanted_).reset();
                heldResidues_ -= row.residues.size();
                ++wanted_;
                // A worker waits when the ring is full, and is woken once half
                // of it is free again: a wake costs a system call and a switch,
                // and a worker woken for every chunk would cost more than the
                // moduli it then computes when they are small.
                roomWanted = waitingWorkers_ > 0 && mayClaim(window_ / 2);
            }
            if (roomWanted) changed_.notify_all();
            try {
                sink_(std::move(row));
            } catch (...) {
                fail(std::current_exception());
                return;
            }
        }
    }

    // True when a worker may take the next chunk, or learn there is none:
    // the ring has room for `room` moduli past it (at least a chunk), and
    // the rows held leave room. Under the lock.
    bool mayClaim(std::int64_t room = kChunk) const
    {
        return nextChunk_ > range_.to ||
               (nextChunk_ + room <= wanted_ + window_ && heldResidues_ <= kHeldResiduesBudget);
    }

    // Takes the next chunk into `chunk`; waits for room in the ring only when
    // `idle`. False when there is none (now, or at all).
    bool claim(Chunk& chunk, bool idle)
    {
        std::unique_lock lock(mutex_);
        const auto ready = [this] { return ended_ || mayClaim(); };
        if (!ready()) {
            if (!idle) return false;
            ++waitingWorkers_;
            const bool woken = WaitUntil(changed_, lock, options_.stop, ready);
            --waitingWorkers_;
            if (!woken) return false;
        }
        if (ended_ || nextChunk_ > range_.to) return false;
        chunk.next = nextChunk_;
        chunk.last = std::min(nextChunk_ + kChunk - 1, range_.to);
        nextChunk_ = chunk.last + 1;
        return true;
    }

    // Puts a row into its slot without waking the writer; true when it is
    // the row the writer waits for (the worker then owes it a wake).
    bool put(ScanRow&& row)
    {
        const std::lock_guard lock(mutex_);
        const bool next = row.modulus == wanted_;
        heldResidues_ += row.residues.size();
        slot(row.modulus) = std::move(row);
        return next;
    }

    // A worker's part: the moduli of chunk after chunk, while the ring has room.
    //
    // Waking the writer costs a system call: a worker whose rows come fast
    // wakes it at most once in kWakeInterval, and always before it may wait
    // for room or block, before each large modulus, and at the end, so that
    // no row waits long for the next one.
    void work()
    {
        using Clock = std::chrono::steady_clock;
        Clock::time_point woke = Clock::now();
        bool owed = false;
        const auto settle = [&] {
            if (!owed) return;
            changed_.notify_all();
            owed = false;
            woke = Clock::now();
        };
        try {
            Chunk chunk;
            const auto source = [&](bool idle) -> std::optional<std::int64_t> {
                // The writer is woken before this worker may wait for room,
                // not before every chunk: it waits for rows most of the time.
                if (chunk.next > chunk.last && !claim(chunk, false)) {
                    if (!idle) return std::nullopt;
                    settle();
                    if (!claim(chunk, true)) return std::nullopt;
                }
                if (options_.stop.stop_requested()) return std::nullopt;
                if (!idle && options_.mayBegin && !options_.mayBegin(chunk.next)) return std::nullopt;
                const std::int64_t modulus = chunk.next++;
                if (modulus >= kWakeBeforeEachFrom) settle();
                if (options_.beforeModulus) {
                    settle();
                    options_.beforeModulus(modulus);
                }
                return modulus;
            };
            const auto done = [&](ScanRow&& row) {
                owed = put(std::move(row)) || owed;
                if (owed && Clock::now() - woke >= kWakeInterval) settle();
            };
            compute_(source, done, options_.stop);
            settle();
        } catch (...) {
            settle();
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
    int waitingWorkers_ = 0;
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
    // One modulus at a time per worker: its two walks run in vector lanes
    // inside each cycle, and its flag tables stay in the worker's cache.
    return EachModulus(range, options, sink,
                       [&inputs, &options](const Source& next, const Sink& done, StopToken stop) {
                           RowScratch scratch;
                           scratch.stop = stop;
                           scratch.residues = options.residues;
                           while (const std::optional<std::int64_t> modulus = next(true)) {
                               // A hold before the modulus may have ended with the stop.
                               if (stop.stop_requested()) return;
                               std::optional<ScanRow> row = ScanModulus(inputs, *modulus, options.maxTerms, scratch);
                               if (!row) return;
                               done(std::move(*row));
                           }
                       });
}

bool ScanRows(const InputTexts& texts, ModulusRange range, const ScanOptions& options, const RowSink& sink)
{
    Inputs inputs;
    try {
        inputs = ValuesOf(texts);
    } catch (const RunTimeError& error) {
        return EachModulus(range, options, sink,
                           [&error](const Source& next, const Sink& done, StopToken) {
                               while (const std::optional<std::int64_t> modulus = next(true))
                                   done(ErrorRow(*modulus, error));
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
