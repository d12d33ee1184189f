// SPDX-License-Identifier: MIT
// Items computed on worker threads and handed on in order: the one ordered run of the scan and the periods.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <limits>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "core/engine/stop_signal.h"
#include "core/engine/worker_threads.h"

namespace fibmod {

// How an ordered run of the items 0 … count − 1 goes. The rows never depend
// on it: only the threads, how far the workers run ahead and when they wake
// the sink's thread.
template <class Row> struct OrderedRunOptions {
    // Worker threads; 0 takes one per core. Never more than there are chunks.
    unsigned threads = 0;
    // When stop is requested the run ends early: rows handed on stay handed
    // on, no further row follows.
    StopToken stop;
    // Items a worker takes at a time, in ascending order (at least 1).
    std::uint64_t chunk = 1;
    // How many items per thread the workers may run ahead of the item the
    // sink waits for (at least `chunk`): it bounds the rows held at once.
    std::uint64_t aheadPerThread = 64;
    // What a row held weighs (say, its bytes); none weighs nothing. No chunk
    // is taken while the rows held weigh more than weightBudget.
    std::function<std::size_t(const Row&)> weigh;
    std::size_t weightBudget = std::numeric_limits<std::size_t>::max();
    // Waking the sink's thread costs a system call: a worker whose rows come
    // fast wakes it at most once in this interval (and always before it may
    // wait, before each item from wakeBeforeEachFrom on, and at its end).
    std::chrono::microseconds wakeInterval{500};
    // From this item on one item may take longer than wakeInterval.
    std::uint64_t wakeBeforeEachFrom = std::numeric_limits<std::uint64_t>::max();
    // Called on a worker before it begins an item, once the sink's thread is
    // woken for the rows it finished: it may block (something else goes
    // first, or a test holds the run). None calls nothing.
    std::function<void(std::uint64_t item)> beforeItem;
};

// Workers take chunks of items from a shared counter and put each row into
// a ring of slots keyed by item; the calling thread hands the rows on in
// order as soon as the next one is there. A worker takes a chunk only when
// it fits into the ring, so it never runs further ahead than the ring is
// long. Use it through RunOrdered.
template <class Row> class OrderedRun {
public:
    OrderedRun(std::uint64_t count, const OrderedRunOptions<Row>& options)
        : options_(options), count_(count), chunk_(std::max<std::uint64_t>(options.chunk, 1)),
          threads_(static_cast<unsigned>(
              std::min<std::uint64_t>(WorkerThreads(options.threads), count == 0 ? 1 : (count - 1) / chunk_ + 1))),
          window_(threads_ * std::max(options.aheadPerThread, chunk_)), ring_(static_cast<std::size_t>(window_)),
          endAt_(count)
    {
    }

    // See RunOrdered.
    template <class MakeCompute, class Sink> bool run(const MakeCompute& makeCompute, Sink& sink)
    {
        if (count_ == 0) return true;
        bool failed = false;
        {
            std::vector<WorkerThread> pool;
            pool.reserve(threads_);
            try {
                for (unsigned t = 0; t < threads_; ++t)
                    pool.emplace_back([this, &makeCompute] { work(makeCompute); });
                write(sink);
            } catch (...) {
                // No thread to be had: the workers that run end.
                end();
                throw;
            }
            failed = end();
        }
        if (failed) std::rethrow_exception(failure_);
        return wanted_ >= count_;
    }

private:
    // A worker's items not yet begun: next … last.
    struct Chunk {
        std::uint64_t next = 1;
        std::uint64_t last = 0;
    };

    std::optional<Row>& slot(std::uint64_t item) { return ring_[static_cast<std::size_t>(item % window_)]; }

    std::size_t weightOf(const Row& row) const { return options_.weigh ? options_.weigh(row) : 0; }

    // The run ends before `item`, with `error` raised once every row before
    // it is handed on; the first such item in order counts.
    void fail(std::uint64_t item, std::exception_ptr error)
    {
        {
            const std::lock_guard lock(mutex_);
            if (item >= endAt_) return;
            endAt_ = item;
            failure_ = std::move(error);
        }
        changed_.notify_all();
    }

    // Ends the run where the sink's thread stands, so that every worker
    // ends; true when a failure ended it (every row before it handed on).
    bool end()
    {
        bool failed = false;
        {
            const std::lock_guard lock(mutex_);
            failed = failure_ && wanted_ >= endAt_;
            endAt_ = std::min(endAt_.load(), wanted_);
        }
        changed_.notify_all();
        return failed;
    }

    // The calling thread's part: hands the rows on in order.
    template <class Sink> void write(Sink& sink)
    {
        while (wanted_ < count_) {
            if (options_.stop.stop_requested()) return;
            std::optional<Row> row;
            bool roomWanted = false;
            {
                std::unique_lock lock(mutex_);
                if (!WaitUntil(changed_, lock, options_.stop,
                               [this] { return wanted_ >= endAt_ || slot(wanted_).has_value(); }))
                    return;
                if (wanted_ >= endAt_) return;
                row = std::move(slot(wanted_));
                slot(wanted_).reset();
                held_ -= weightOf(*row);
                ++wanted_;
                // A worker waits when the ring is full, and is woken once half
                // of it is free again: a wake costs a system call and a switch,
                // and a worker woken for every chunk would cost more than the
                // items it then computes when they are small.
                roomWanted = waiting_ > 0 && mayClaim(std::max(chunk_, window_ / 2));
            }
            if (roomWanted) changed_.notify_all();
            try {
                sink(std::move(*row));
            } catch (...) {
                fail(wanted_, std::current_exception());
                return;
            }
        }
    }

    // True when a worker may take the next chunk, or learn there is none:
    // the ring has room for `room` items past it, and the rows held leave
    // room. Under the lock.
    bool mayClaim(std::uint64_t room) const
    {
        return nextChunk_ >= endAt_ || (nextChunk_ + room <= wanted_ + window_ && held_ <= options_.weightBudget);
    }

    // Takes the next chunk into `chunk`; waits for room in the ring only when
    // `idle`. False when there is none (now, or at all).
    bool claim(Chunk& chunk, bool idle)
    {
        std::unique_lock lock(mutex_);
        const auto ready = [this] { return mayClaim(chunk_); };
        if (!ready()) {
            if (!idle) return false;
            ++waiting_;
            const bool woken = WaitUntil(changed_, lock, options_.stop, ready);
            --waiting_;
            if (!woken) return false;
        }
        if (nextChunk_ >= endAt_) return false;
        chunk.next = nextChunk_;
        chunk.last = std::min(nextChunk_ + chunk_, endAt_.load()) - 1;
        nextChunk_ = chunk.last + 1;
        return true;
    }

    // Puts a row into its slot without waking the sink's thread; true when it
    // is the row that thread waits for (the worker then owes it a wake).
    bool put(std::uint64_t item, Row&& row)
    {
        const std::size_t weight = weightOf(row);
        const std::lock_guard lock(mutex_);
        held_ += weight;
        slot(item) = std::move(row);
        return item == wanted_;
    }

    // A worker's part: the items of chunk after chunk, while the ring has
    // room; the wakes it owes the sink's thread as OrderedRunOptions says.
    template <class MakeCompute> void work(const MakeCompute& makeCompute)
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
        // Before its first item a worker's failure ends the run at once.
        std::uint64_t item = 0;
        try {
            auto compute = makeCompute();
            Chunk chunk;
            for (;;) {
                // The sink's thread is woken before this worker may wait for
                // room, not before every chunk: it waits for rows most of the
                // time.
                if (chunk.next > chunk.last && !claim(chunk, false)) {
                    settle();
                    if (!claim(chunk, true)) break;
                }
                item = chunk.next++;
                if (options_.stop.stop_requested() || item >= endAt_.load(std::memory_order_relaxed)) break;
                if (item >= options_.wakeBeforeEachFrom) settle();
                if (options_.beforeItem) {
                    settle();
                    options_.beforeItem(item);
                    // A hold may have ended with the stop.
                    if (options_.stop.stop_requested()) break;
                }
                std::optional<Row> row = compute(item);
                if (!row) break;
                owed = put(item, std::move(*row)) || owed;
                if (owed && Clock::now() - woke >= options_.wakeInterval) settle();
            }
            settle();
        } catch (...) {
            settle();
            fail(item, std::current_exception());
        }
    }

    const OrderedRunOptions<Row>& options_;
    std::uint64_t count_;
    std::uint64_t chunk_;
    unsigned threads_;
    std::uint64_t window_;

    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::vector<std::optional<Row>> ring_;
    std::uint64_t nextChunk_ = 0;
    // The item the sink waits for; only the calling thread changes it.
    std::uint64_t wanted_ = 0;
    // Where the run ends: count, or the first item that failed. Changed
    // under the lock; workers also read it without.
    std::atomic<std::uint64_t> endAt_;
    std::size_t held_ = 0;
    int waiting_ = 0;
    std::exception_ptr failure_;
};

// The rows of the items 0 … count − 1, handed to sink(Row&&) in item order
// on the calling thread as soon as a row and every row before it are done;
// the workers run at most a bounded distance ahead (OrderedRunOptions), so
// memory stays bounded however many items there are.
//
// Each worker thread calls makeCompute() once; the callable it returns,
// compute(item) → std::optional<Row>, gives the row of each item that
// worker takes (so a worker's cache or scratch stays on its thread), or none
// once stop is requested.
//
// Returns false when stopped before every row was handed on. An exception
// from compute, beforeItem or the sink ends the run once every row before
// its item is handed on (from makeCompute: at once), and is raised again
// here, on the calling thread, once every worker has ended; a stop that
// comes first returns false instead.
template <class Row, class MakeCompute, class Sink>
bool RunOrdered(std::uint64_t count, const OrderedRunOptions<Row>& options, const MakeCompute& makeCompute,
                Sink&& sink)
{
    OrderedRun<Row> run(count, options);
    return run.run(makeCompute, sink);
}

} // namespace fibmod
