// SPDX-License-Identifier: MIT
// The engine's own stop source, token, callback and worker behave as the standard library's.
#include "core/engine/stop_signal.h"

#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/engine/portable_stop.h"

namespace fibmod {
namespace {

// The standard types and the engine's own, under one set of names.
struct Standard {
    using Source = std::stop_source;
    using Token = std::stop_token;
    template <class C> using Callback = std::stop_callback<C>;
    using Worker = std::jthread;
    template <class Lock, class Ready>
    static bool Wait(std::condition_variable_any& changed, Lock& lock, const Token& stop, Ready ready)
    {
        return changed.wait(lock, stop, ready);
    }
};
struct Portable {
    using Source = portable::StopSource;
    using Token = portable::StopToken;
    template <class C> using Callback = portable::StopCallback<C>;
    using Worker = portable::WorkerThread;
    template <class Lock, class Ready>
    static bool Wait(std::condition_variable_any& changed, Lock& lock, const Token& stop, Ready ready)
    {
        return portable::WaitUntil(changed, lock, stop, ready);
    }
};

template <class Kind> class StopSignal : public ::testing::Test {};
using Kinds = ::testing::Types<Standard, Portable>;
TYPED_TEST_SUITE(StopSignal, Kinds);

TYPED_TEST(StopSignal, AnEmptyTokenNeverStopsAndEveryTokenOfASourceSeesItsOneRequest)
{
    const typename TypeParam::Token none;
    EXPECT_FALSE(none.stop_possible());
    EXPECT_FALSE(none.stop_requested());

    typename TypeParam::Source source;
    const auto first = source.get_token();
    const auto second = source.get_token();
    EXPECT_TRUE(first.stop_possible());
    EXPECT_FALSE(first.stop_requested());
    EXPECT_TRUE(source.request_stop());
    EXPECT_FALSE(source.request_stop());
    EXPECT_TRUE(first.stop_requested());
    EXPECT_TRUE(second.stop_requested());
    EXPECT_TRUE(first == second);
}

TYPED_TEST(StopSignal, CallbacksRunOnTheRequestOrAtOnceWhenItCameFirstAndNeverOnceDestroyed)
{
    typename TypeParam::Source source;
    std::vector<int> ran;
    auto one = [&ran] { ran.push_back(1); };
    auto two = [&ran] { ran.push_back(2); };
    auto gone = [&ran] { ran.push_back(3); };
    const typename TypeParam::template Callback<decltype(one)> first(source.get_token(), one);
    const typename TypeParam::template Callback<decltype(two)> second(source.get_token(), two);
    { const typename TypeParam::template Callback<decltype(gone)> destroyed(source.get_token(), gone); }
    EXPECT_TRUE(ran.empty());
    source.request_stop();
    ASSERT_EQ(ran.size(), 2u);
    EXPECT_EQ(ran[0] + ran[1], 3);

    auto late = [&ran] { ran.push_back(4); };
    const typename TypeParam::template Callback<decltype(late)> after(source.get_token(), late);
    EXPECT_EQ(ran.back(), 4);
}

TYPED_TEST(StopSignal, AWaitEndsWithTheConditionOrWithAStopFromAnotherThread)
{
    std::mutex mutex;
    std::condition_variable_any changed;
    typename TypeParam::Source source;
    bool ready = false;
    bool woken = true;
    {
        std::thread waiter([&] {
            std::unique_lock lock(mutex);
            woken = TypeParam::Wait(changed, lock, source.get_token(), [&ready] { return ready; });
        });
        source.request_stop();
        waiter.join();
    }
    EXPECT_FALSE(woken);

    typename TypeParam::Source other;
    {
        std::thread waiter([&] {
            std::unique_lock lock(mutex);
            woken = TypeParam::Wait(changed, lock, other.get_token(), [&ready] { return ready; });
        });
        {
            const std::lock_guard lock(mutex);
            ready = true;
        }
        changed.notify_all();
        waiter.join();
    }
    EXPECT_TRUE(woken);
    EXPECT_FALSE(other.stop_requested());
}

TYPED_TEST(StopSignal, AWorkerIsAskedToStopAndJoinedWhenDestroyed)
{
    bool stoppedInside = false;
    {
        typename TypeParam::Worker worker([&stoppedInside](typename TypeParam::Token stop) {
            while (!stop.stop_requested()) std::this_thread::yield();
            stoppedInside = true;
        });
    }
    EXPECT_TRUE(stoppedInside);
}

TEST(StopSignal, IsTheStandardLibrarysWhereItHasOne)
{
    EXPECT_TRUE((std::is_same_v<StopToken, std::stop_token>));
    EXPECT_TRUE((std::is_same_v<WorkerThread, std::jthread>));
}

} // namespace
} // namespace fibmod
