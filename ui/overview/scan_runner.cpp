// SPDX-License-Identifier: MIT
// The overview's scan on a worker thread.
#include "ui/overview/scan_runner.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include <QMetaObject>
#include <QtConcurrent/QtConcurrentRun>

#include "core/modulus_range.h"
#include "ui/overview/qt_boundary.h"

namespace fibmod::overview {

namespace {

constexpr int kTotal = kModulusMax - kModulusMin + 1;
// Progress reaches the window every this many rows.
constexpr int kProgressStep = 100;

} // namespace

ScanRunner::ScanRunner(QObject* parent) : QObject(parent)
{
    // One scan at a time; a stopped one ends within one modulus.
    pool_.setMaxThreadCount(1);
}

ScanRunner::~ScanRunner()
{
    stop_.request_stop();
    waitForWorkers();
}

void ScanRunner::waitForWorkers() { pool_.waitForDone(); }

void ScanRunner::hold(bool held)
{
    {
        const std::lock_guard lock(gateMutex_);
        held_ = held;
    }
    if (!held) gateOpen_.notify_all();
}

std::uint64_t ScanRunner::start(HeldInputTexts inputs)
{
    stop_.request_stop();
    stop_ = std::stop_source();
    const std::uint64_t generation = ++generation_;
    running_ = true;
    emit progress(0, kTotal);

    auto task = [this, generation, inputs = std::move(inputs), stop = stop_.get_token()] {
        // The main window's runs come first through hold(), not through the
        // thread's priority: at idle priority any other busy program on the
        // machine would keep the overview from ever finishing.
        std::atomic<int> done{0};
        ScanOptions options;
        options.stop = stop;
        // One core stays free for the windows' painting and input.
        options.threads = std::max(1u, std::thread::hardware_concurrency() - 1);
        options.beforeModulus = [this, stop](std::int64_t) {
            std::unique_lock lock(gateMutex_);
            gateOpen_.wait(lock, stop, [this] { return !held_; });
        };
        std::vector<ScanRow> rows;
        const auto onRow = [this, generation, &done, &rows](ScanRow&& row) {
            rows.push_back(std::move(row));
            const int now = ++done;
            if (now % kProgressStep != 0) return;
            // Called on the scan's threads, where nothing may escape either.
            AtQtBoundary("progress", [&] {
                QMetaObject::invokeMethod(
                    this, [this, generation, now] { AtQtBoundary("progress", [&] { report(generation, now); }); },
                    Qt::QueuedConnection);
            });
        };
        AtQtBoundary("scan", [&] {
            if (!ScanRows(inputs.texts(), {}, options, onRow)) return;
            auto shared = std::make_shared<std::vector<ScanRow>>(std::move(rows));
            QMetaObject::invokeMethod(
                this, [this, generation, shared] { AtQtBoundary("rows", [&] { deliver(generation, shared); }); },
                Qt::QueuedConnection);
        });
    };
    // The runner outlives every task: its destructor waits for them.
    [[maybe_unused]] auto future = QtConcurrent::run(&pool_, std::move(task));
    return generation;
}

void ScanRunner::report(std::uint64_t generation, int done)
{
    if (generation == generation_ && running_) emit progress(done, kTotal);
}

void ScanRunner::deliver(std::uint64_t generation, const std::shared_ptr<std::vector<ScanRow>>& rows)
{
    if (generation != generation_) return;
    running_ = false;
    emit progress(kTotal, kTotal);
    emit finished(generation, *rows);
}

} // namespace fibmod::overview
