// SPDX-License-Identifier: MIT
// Workers that take moduli from a shared counter, each with its own cache,
// and a reorder buffer that releases their rows in order.
#include "core/engine/period/period_run.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "core/engine/period/flint_thread.h"
#include "core/engine/worker_threads.h"

namespace fibmod {

namespace {

// How far, in moduli per worker, the workers may run ahead of the sink.
constexpr std::uint64_t kLeadPerWorker = 64;

} // namespace

bool ComputePeriods(const std::vector<WholeInputs>& sequences, std::uint64_t count, const ModulusAt& modulusAt,
                    const PeriodRunOptions& options, const PeriodSink& sink)
{
    ReleaseFlintCachesAtThreadExit();
    if (count == 0) return true;
    const auto threads = static_cast<unsigned>(std::min<std::uint64_t>(WorkerThreads(options.threads), count));
    const std::uint64_t lead = kLeadPerWorker * threads;

    std::mutex mutex;
    std::condition_variable rowDone;
    std::condition_variable rowTaken;
    std::map<std::uint64_t, ModulusPeriods> done;
    std::uint64_t handedOn = 0;
    // Workers waiting for room; the sink's thread wakes them only then.
    unsigned waiting = 0;
    // The first index not to hand on: count, or where something failed.
    std::uint64_t endAt = count;
    bool stopped = false;
    std::exception_ptr failure;
    std::atomic<std::uint64_t> next{0};

    // A failure at `index` ends the run once every row before it is handed on.
    const auto fail = [&](std::uint64_t index, std::exception_ptr error) {
        {
            const std::lock_guard lock(mutex);
            if (index < endAt) {
                endAt = index;
                failure = error;
            }
        }
        rowDone.notify_all();
        rowTaken.notify_all();
    };
    auto wake = [&] {
        {
            const std::lock_guard lock(mutex);
            stopped = true;
        }
        rowDone.notify_all();
        rowTaken.notify_all();
    };
    const StopCallback<decltype(wake)> onStop(options.stop, wake);

    const auto work = [&] {
        PeriodCalculator calculator(sequences, options.cachedPrimeLimit);
        for (;;) {
            const std::uint64_t index = next.fetch_add(1);
            {
                std::unique_lock lock(mutex);
                ++waiting;
                rowTaken.wait(lock, [&] { return stopped || index >= endAt || index < handedOn + lead; });
                --waiting;
                if (stopped || index >= endAt) break;
            }
            try {
                const BigInt modulus = modulusAt(index);
                if (options.beforeModulus) options.beforeModulus(modulus);
                ModulusPeriods row = calculator.compute(modulus);
                bool awaited = false;
                {
                    const std::lock_guard lock(mutex);
                    done.emplace(index, std::move(row));
                    awaited = index == handedOn;
                }
                // The sink's thread waits only for the next row in order.
                if (awaited) rowDone.notify_one();
            } catch (...) {
                fail(index, std::current_exception());
            }
        }
    };
    std::vector<std::thread> workers;
    workers.reserve(threads);
    for (unsigned i = 0; i < threads; ++i) workers.emplace_back(work);

    for (;;) {
        ModulusPeriods row;
        bool wake = false;
        {
            std::unique_lock lock(mutex);
            rowDone.wait(lock, [&] { return stopped || handedOn >= endAt || done.contains(handedOn); });
            if (stopped || handedOn >= endAt) break;
            const auto found = done.find(handedOn);
            row = std::move(found->second);
            done.erase(found);
            ++handedOn;
            wake = waiting != 0;
        }
        if (wake) rowTaken.notify_all();
        try {
            sink(std::move(row));
        } catch (...) {
            fail(handedOn, std::current_exception());
        }
    }
    for (std::thread& worker : workers) worker.join();
    if (failure) std::rethrow_exception(failure);
    return !stopped || handedOn == count;
}

bool PeriodRange(const std::vector<WholeInputs>& sequences, const BigInt& from, const BigInt& to,
                 const PeriodRunOptions& options, const PeriodSink& sink)
{
    if (!IsPeriodModulus(from) || !IsPeriodModulus(to) || from > to)
        throw std::invalid_argument("not a range of moduli within 2 to 2^127 - 1: " + from.toString() + " to " +
                                    to.toString());
    // ComputePeriods counts in 64 bits: a longer range runs in parts, one
    // after the other.
    constexpr std::uint64_t kPart = std::uint64_t{1} << 63;
    for (BigInt first = from;; first = first + BigInt(kPart)) {
        const BigInt rest = to - first;
        const std::uint64_t count = rest < BigInt(kPart) ? rest.toUInt64() + 1 : kPart;
        const auto modulusAt = [&first](std::uint64_t index) { return first + BigInt(index); };
        if (!ComputePeriods(sequences, count, modulusAt, options, sink)) return false;
        if (count != kPart || rest == BigInt(kPart - 1)) return true;
    }
}

} // namespace fibmod
