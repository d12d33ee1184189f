// SPDX-License-Identifier: MIT
// Period runs on threads of their own, watched for signals by the caller.
#include "python/period_job.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include <pybind11/pybind11.h>

namespace py = pybind11;

namespace fibmod::python {

namespace {

// How often the calling thread looks for a pending signal.
constexpr std::chrono::milliseconds kSignalLook{50};

// What a run and its caller share; the run's thread keeps it alive should
// the caller leave first.
struct Job {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::vector<PeriodRowText> rows;
    std::exception_ptr failure;
    std::stop_source stop;
};

// The runs' threads that have not ended.
std::mutex runsMutex;
std::condition_variable runEnded;
unsigned runsGoing = 0;

} // namespace

std::vector<PeriodRowText> PeriodRowsWatched(std::function<void(std::stop_token, const PeriodRowSink&)> run)
{
    auto job = std::make_shared<Job>();
    {
        const std::lock_guard lock(runsMutex);
        ++runsGoing;
    }
    std::thread([job, run = std::move(run)]() mutable {
        try {
            run(job->stop.get_token(), [&job](PeriodRowText&& row) {
                const std::lock_guard lock(job->mutex);
                job->rows.push_back(std::move(row));
            });
        } catch (...) {
            const std::lock_guard lock(job->mutex);
            job->failure = std::current_exception();
        }
        {
            const std::lock_guard lock(job->mutex);
            job->done = true;
        }
        job->ended.notify_all();
        run = nullptr;
        job.reset();
        {
            const std::lock_guard lock(runsMutex);
            --runsGoing;
        }
        runEnded.notify_all();
    }).detach();

    bool interrupted = false;
    {
        const py::gil_scoped_release release;
        std::unique_lock lock(job->mutex);
        while (!job->ended.wait_for(lock, kSignalLook, [&] { return job->done; })) {
            lock.unlock();
            {
                const py::gil_scoped_acquire acquire;
                interrupted = PyErr_CheckSignals() != 0;
            }
            lock.lock();
            if (interrupted) {
                job->stop.request_stop();
                break;
            }
        }
    }
    if (interrupted) throw py::error_already_set();
    if (job->failure) std::rethrow_exception(job->failure);
    return std::move(job->rows);
}

void WaitForRunsLeftBehind()
{
    std::unique_lock lock(runsMutex);
    runEnded.wait(lock, [] { return runsGoing == 0; });
}

} // namespace fibmod::python
