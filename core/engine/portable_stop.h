// SPDX-License-Identifier: MIT
// A stop source, token and callback of the engine's own, for platforms whose library lacks <stop_token>.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <utility>

namespace fibmod::portable {

namespace detail {

// What a source and its tokens share: the request, and the callbacks to run on it.
struct StopState {
    std::atomic<bool> requested{false};
    std::mutex mutex;
    std::list<std::function<void()>*> callbacks;
    // The callback the request runs now, and the thread that runs it, so
    // that a callback destroyed meanwhile on another thread waits for it.
    std::function<void()>* running = nullptr;
    std::thread::id runner;
    std::condition_variable done;
};

} // namespace detail

// As std::stop_token: default-constructed it has no source and never stops.
class StopToken {
public:
    StopToken() noexcept = default;

    // True once stop was requested of the source.
    bool stop_requested() const noexcept { return state_ && state_->requested.load(std::memory_order_acquire); }
    // True when a stop can still be requested or already was.
    bool stop_possible() const noexcept { return state_ != nullptr; }

    friend bool operator==(const StopToken&, const StopToken&) noexcept = default;

private:
    friend class StopSource;
    template <class Callback> friend class StopCallback;
    explicit StopToken(std::shared_ptr<detail::StopState> state) noexcept : state_(std::move(state)) {}

    std::shared_ptr<detail::StopState> state_;
};

// As std::stop_source: one request, seen by every token it gave out.
class StopSource {
public:
    StopSource() : state_(std::make_shared<detail::StopState>()) {}

    StopToken get_token() const noexcept { return StopToken(state_); }
    bool stop_requested() const noexcept { return state_ && state_->requested.load(std::memory_order_acquire); }
    bool stop_possible() const noexcept { return state_ != nullptr; }

    // Requests stop and runs the registered callbacks on this thread, in the
    // order they were registered, each outside the lock. True for the first
    // request only.
    bool request_stop() noexcept
    {
        if (!state_) return false;
        std::unique_lock lock(state_->mutex);
        if (state_->requested.exchange(true, std::memory_order_acq_rel)) return false;
        state_->runner = std::this_thread::get_id();
        while (!state_->callbacks.empty()) {
            state_->running = state_->callbacks.front();
            state_->callbacks.pop_front();
            lock.unlock();
            (*state_->running)();
            lock.lock();
            state_->running = nullptr;
            state_->done.notify_all();
        }
        return true;
    }

private:
    std::shared_ptr<detail::StopState> state_;
};

// As std::stop_callback: runs `callback` when stop is requested, at once
// when it already was; never after its destruction.
template <class Callback> class StopCallback {
public:
    template <class C>
    explicit StopCallback(const StopToken& token, C&& callback)
        : callback_(std::forward<C>(callback)), state_(token.state_), run_([this] { callback_(); })
    {
        if (!state_) return;
        std::unique_lock lock(state_->mutex);
        if (state_->requested.load(std::memory_order_acquire)) {
            lock.unlock();
            state_.reset();
            callback_();
            return;
        }
        state_->callbacks.push_back(&run_);
    }

    // Waits when the request runs this callback on another thread right now.
    ~StopCallback()
    {
        if (!state_) return;
        std::unique_lock lock(state_->mutex);
        state_->callbacks.remove(&run_);
        if (state_->running == &run_ && state_->runner != std::this_thread::get_id())
            state_->done.wait(lock, [this] { return state_->running != &run_; });
    }

    StopCallback(const StopCallback&) = delete;
    StopCallback& operator=(const StopCallback&) = delete;

private:
    Callback callback_;
    std::shared_ptr<detail::StopState> state_;
    std::function<void()> run_;
};

template <class Callback> StopCallback(StopToken, Callback) -> StopCallback<Callback>;

// As std::jthread: a thread that is asked to stop and joined when it is
// destroyed; a function that takes a StopToken first gets the thread's.
class WorkerThread {
public:
    template <class Function> explicit WorkerThread(Function&& function)
    {
        if constexpr (std::is_invocable_v<Function, StopToken>)
            thread_ = std::thread(std::forward<Function>(function), stop_.get_token());
        else
            thread_ = std::thread(std::forward<Function>(function));
    }

    WorkerThread(WorkerThread&&) noexcept = default;
    WorkerThread& operator=(WorkerThread&&) = delete;

    ~WorkerThread()
    {
        if (!thread_.joinable()) return;
        stop_.request_stop();
        thread_.join();
    }

private:
    StopSource stop_;
    std::thread thread_;
};

// As condition_variable_any::wait(lock, stop, ready): waits until `ready`
// holds (true) or stop is requested (false, unless `ready` holds by then).
template <class Lock, class Ready>
bool WaitUntil(std::condition_variable_any& changed, Lock& lock, const StopToken& stop, Ready ready)
{
    // The wake is sent under the waiter's lock, so that it cannot fall
    // between the waiter's check and its wait. The lock is let go while the
    // wake is registered: a stop already requested sends it at once.
    lock.unlock();
    StopCallback wake(stop, [&changed, mutex = lock.mutex()] {
        const std::lock_guard held(*mutex);
        changed.notify_all();
    });
    lock.lock();
    while (!ready()) {
        if (stop.stop_requested()) return ready();
        changed.wait(lock);
    }
    return true;
}

} // namespace fibmod::portable
