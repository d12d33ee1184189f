// SPDX-License-Identifier: MIT
// The overview's scan on worker threads, its rows handed on in batches.
#include "ui/overview/scan_runner.h"

#include <algorithm>
#include <utility>

#include <QMetaObject>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include "core/engine/worker_threads.h"
#include "ui/qt_boundary.h"

namespace fibmod::overview {

namespace {

std::size_t BytesOf(const ScanRow& row) { return sizeof row + row.residues.size() * sizeof(row.residues[0]); }

} // namespace

// What the workers of one run share with the owner's thread.
struct ScanRunner::Run {
    std::stop_source stop;
    std::int64_t total = 0;
    std::int64_t handedOn = 0;
    std::mutex mutex;
    // Guarded by mutex: rows computed and not yet handed on and their
    // bytes, whether a flush is queued to the owner's thread, whether the
    // scan completed. `taken` wakes the scan when a batch was taken.
    std::condition_variable_any taken;
    std::vector<ScanRow> pending;
    std::size_t pendingBytes = 0;
    bool flushQueued = false;
    bool complete = false;
};

ScanRunner::ScanRunner(ScanRunnerSettings settings, QObject* parent) : QObject(parent), settings_(std::move(settings))
{
    // One run at a time; a stopped one ends within one modulus.
    pool_.setMaxThreadCount(1);
    batchTimer_ = new QTimer(this);
    batchTimer_->setSingleShot(true);
    connect(batchTimer_, &QTimer::timeout, this, [this] { ui::AtQtBoundary("rows", [this] { flush(); }); });
}

ScanRunner::~ScanRunner()
{
    if (run_) run_->stop.request_stop();
    pool_.waitForDone();
}

void ScanRunner::hold(bool held)
{
    {
        const std::lock_guard lock(gateMutex_);
        held_ = held;
    }
    if (!held) gateOpen_.notify_all();
}

void ScanRunner::stop()
{
    if (!run_) return;
    run_->stop.request_stop();
    run_.reset();
    batchTimer_->stop();
}

void ScanRunner::start(HeldInputTexts inputs, ModulusRange range, TermBound maxTerms)
{
    stop();
    auto run = std::make_shared<Run>();
    run->total = std::max<std::int64_t>(0, range.to - range.from + 1);
    run_ = run;
    lastBatch_ = {};

    ScanOptions options = settings_.scan;
    options.stop = run->stop.get_token();
    options.maxTerms = maxTerms;
    options.threads = WorkerThreads(options.threads);
    // The main window's runs come first through hold(), not through the
    // thread's priority: at idle priority any other busy program on the
    // machine would keep the overview from ever finishing.
    options.beforeModulus = [this, stop = options.stop, then = settings_.scan.beforeModulus](std::int64_t modulus) {
        {
            std::unique_lock lock(gateMutex_);
            gateOpen_.wait(lock, stop, [this] { return !held_; });
        }
        if (then && !stop.stop_requested()) then(modulus);
    };

    auto task = [this, run, range, options = std::move(options), inputs = std::move(inputs)] {
        // On the scan's calling thread, where nothing may escape either.
        const auto onRow = [this, &run](ScanRow&& row) {
            bool queue = false;
            {
                std::unique_lock lock(run->mutex);
                // A window that falls behind holds the scan, not its memory.
                run->taken.wait(lock, run->stop.get_token(), [&] { return run->pendingBytes < settings_.pendingBytes; });
                run->pendingBytes += BytesOf(row);
                run->pending.push_back(std::move(row));
                queue = !std::exchange(run->flushQueued, true);
            }
            if (queue) flushSoon(run);
        };
        // A scan that fails (it should not) still ends, with the rows it had.
        bool stopped = false;
        ui::AtQtBoundary("scan", [&] { stopped = !ScanRows(inputs.texts(), range, options, onRow); });
        if (stopped) return;
        ui::AtQtBoundary("scan", [&] {
            {
                const std::lock_guard lock(run->mutex);
                run->complete = true;
                if (std::exchange(run->flushQueued, true)) return;
            }
            flushSoon(run);
        });
    };
    // The runner outlives every task: its destructor waits for them.
    [[maybe_unused]] auto future = QtConcurrent::run(&pool_, std::move(task));
}

// From a worker: the owner's thread takes the rows at the next batch.
void ScanRunner::flushSoon(const std::shared_ptr<Run>& run)
{
    QMetaObject::invokeMethod(
        this,
        [this, run] {
            ui::AtQtBoundary("rows", [&] {
                if (run != run_) return; // an ended run's rows are dropped
                const auto due = lastBatch_ + settings_.batchInterval;
                const auto now = std::chrono::steady_clock::now();
                if (now >= due) {
                    flush();
                } else if (!batchTimer_->isActive()) {
                    batchTimer_->start(std::chrono::ceil<std::chrono::milliseconds>(due - now));
                }
            });
        },
        Qt::QueuedConnection);
}

void ScanRunner::flush()
{
    batchTimer_->stop();
    if (!run_) return;
    const std::shared_ptr<Run> run = run_;
    std::vector<ScanRow> rows;
    bool complete = false;
    {
        const std::lock_guard lock(run->mutex);
        rows.swap(run->pending);
        run->pendingBytes = 0;
        run->flushQueued = false;
        complete = run->complete;
    }
    run->taken.notify_all();
    lastBatch_ = std::chrono::steady_clock::now();
    if (!rows.empty()) {
        run->handedOn += static_cast<std::int64_t>(rows.size());
        emit rowsArrived(rows, run->handedOn, run->total);
    }
    // A slot may have started another run meanwhile.
    if (complete && run == run_) {
        run_.reset();
        emit finished();
    }
}

} // namespace fibmod::overview
