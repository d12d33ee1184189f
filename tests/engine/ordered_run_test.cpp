// SPDX-License-Identifier: MIT
// Tests of the ordered run: order, how far the workers run ahead, stop, failures and holds, on one and several threads.
#include "core/engine/ordered_run.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

namespace fibmod {
namespace {

using Options = OrderedRunOptions<std::uint64_t>;

// The row of an item in these tests.
std::uint64_t RowOf(std::uint64_t item) { return 3 * item + 1; }

// Each worker's computation: the item's row, or `fail` thrown at `failAt`.
auto Rows(std::uint64_t failAt = UINT64_MAX)
{
    return [failAt] {
        return [failAt](std::uint64_t item) -> std::optional<std::uint64_t> {
            if (item == failAt) throw std::runtime_error("failed");
            return RowOf(item);
        };
    };
}

// Raises `item` to the largest one begun so far.
void Raise(std::atomic<std::uint64_t>& begun, std::uint64_t item)
{
    std::uint64_t seen = begun.load();
    while (item > seen && !begun.compare_exchange_weak(seen, item)) {
    }
}

TEST(OrderedRun, HandsOnEveryRowInOrderForAnyThreadsAndChunk)
{
    for (const unsigned threads : {1u, 2u, 3u})
        for (const std::uint64_t chunk : {1u, 8u})
            for (const std::uint64_t count : {0u, 1u, 7u, 1000u}) {
                Options options;
                options.threads = threads;
                options.chunk = chunk;
                std::atomic<unsigned> workers{0};
                std::vector<std::uint64_t> rows;
                const bool finished = RunOrdered(
                    count, options,
                    [&workers] {
                        ++workers;
                        return [](std::uint64_t item) { return std::optional(RowOf(item)); };
                    },
                    [&rows](std::uint64_t&& row) { rows.push_back(row); });
                EXPECT_TRUE(finished);
                ASSERT_EQ(rows.size(), count) << threads << " threads, chunks of " << chunk;
                for (std::uint64_t i = 0; i < count; ++i) ASSERT_EQ(rows[i], RowOf(i));
                EXPECT_LE(workers.load(), threads);
            }
}

TEST(OrderedRun, TheWorkersStayWithinTheWindowAndTheWeightBudgetAheadOfTheSink)
{
    for (const unsigned threads : {1u, 2u}) {
        Options options;
        options.threads = threads;
        options.chunk = 4;
        options.aheadPerThread = 32;
        std::atomic<std::uint64_t> begun{0};
        options.beforeItem = [&begun](std::uint64_t item) { Raise(begun, item); };
        std::uint64_t furthest = 0;
        std::uint64_t expected = 0;
        const auto sink = [&](std::uint64_t&& row) {
            ASSERT_EQ(row, RowOf(expected));
            furthest = std::max(furthest, begun.load() - expected++);
        };
        ASSERT_TRUE(RunOrdered(5000, options, Rows(), sink));
        EXPECT_LE(furthest, 32u * threads);

        // Rows that weigh 10 each, within a budget of 50: at most five held,
        // and each worker's chunk begun besides.
        options.weigh = [](const std::uint64_t&) { return std::size_t{10}; };
        options.weightBudget = 50;
        begun = 0;
        furthest = expected = 0;
        ASSERT_TRUE(RunOrdered(5000, options, Rows(), sink));
        EXPECT_LE(furthest, 6u + 2 * 4 * threads);
    }
}

TEST(OrderedRun, AFailureIsRaisedOnTheCallingThreadAfterEveryRowBeforeIt)
{
    for (const unsigned threads : {1u, 2u}) {
        Options options;
        options.threads = threads;
        options.chunk = 8;
        std::uint64_t rows = 0;
        const auto count = [&rows](std::uint64_t&&) { ++rows; };
        // In a worker's computation, or in what comes before an item.
        EXPECT_THROW(RunOrdered(2000, options, Rows(500), count), std::runtime_error);
        EXPECT_EQ(rows, 500u);
        rows = 0;
        options.beforeItem = [](std::uint64_t item) {
            if (item == 300) throw std::logic_error("held wrong");
        };
        EXPECT_THROW(RunOrdered(2000, options, Rows(), count), std::logic_error);
        EXPECT_EQ(rows, 300u);
        options.beforeItem = nullptr;
        // In a worker's set-up, before any item.
        EXPECT_THROW(RunOrdered(
                         2000, options,
                         []() -> std::function<std::optional<std::uint64_t>(std::uint64_t)> {
                             throw std::length_error("no cache");
                         },
                         count),
                     std::length_error);
        // In the sink: no row follows.
        rows = 0;
        EXPECT_THROW(RunOrdered(2000, options, Rows(),
                                [&rows](std::uint64_t&& row) {
                                    ++rows;
                                    if (row == RowOf(30)) throw std::out_of_range("full disk");
                                }),
                     std::out_of_range);
        EXPECT_EQ(rows, 31u);
    }
}

TEST(OrderedRun, AStopEndsTheRunWithTheRowsHandedOnSoFar)
{
    for (const unsigned threads : {1u, 2u}) {
        StopSource source;
        Options options;
        options.threads = threads;
        options.stop = source.get_token();
        std::uint64_t rows = 0;
        EXPECT_FALSE(RunOrdered(1000000, options, Rows(), [&](std::uint64_t&&) {
            if (++rows == 10) source.request_stop();
        }));
        EXPECT_EQ(rows, 10u);
        // Stopped before it begins, a run hands nothing on.
        EXPECT_FALSE(RunOrdered(1000000, options, Rows(20), [](std::uint64_t&&) {}));
    }
}

// Held before an item, the run hands on every row before it: the sink opens
// the hold when that row comes, and would wait for ever otherwise. A hold
// that waits for the stop ends with it.
TEST(OrderedRun, AHoldBeforeAnItemLetsEveryRowBeforeItThroughAndEndsWithTheStop)
{
    constexpr std::uint64_t kHeldAt = 700;
    for (const unsigned threads : {1u, 2u}) {
        std::mutex mutex;
        std::condition_variable_any opened;
        bool open = false;
        StopSource source;
        Options options;
        options.threads = threads;
        options.chunk = 8;
        options.stop = source.get_token();
        options.beforeItem = [&](std::uint64_t item) {
            std::unique_lock lock(mutex);
            WaitUntil(opened, lock, options.stop, [&] { return open || item < kHeldAt; });
        };
        std::uint64_t rows = 0;
        EXPECT_TRUE(RunOrdered(2000, options, Rows(), [&](std::uint64_t&& row) {
            ++rows;
            if (row != RowOf(kHeldAt - 1)) return;
            {
                const std::lock_guard lock(mutex);
                open = true;
            }
            opened.notify_all();
        }));
        EXPECT_EQ(rows, 2000u);

        open = false;
        rows = 0;
        EXPECT_FALSE(RunOrdered(2000, options, Rows(), [&](std::uint64_t&& row) {
            ++rows;
            if (row == RowOf(kHeldAt - 1)) source.request_stop();
        }));
        EXPECT_EQ(rows, kHeldAt);
    }
}

} // namespace
} // namespace fibmod
