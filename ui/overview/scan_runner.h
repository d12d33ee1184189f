// SPDX-License-Identifier: MIT
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <memory>
#include <stop_token>
#include <vector>

#include <QObject>
#include <QThreadPool>

#include "core/scan.h"
#include "core/inputs.h"

namespace fibmod::overview {

// Scans every modulus on a worker thread, one run at a time. A new run
// stops the one before it; rows of a superseded run are never delivered,
// and a run delivers its rows only whole. Signals arrive on the thread that
// owns the runner.
class ScanRunner : public QObject {
    Q_OBJECT

public:
    explicit ScanRunner(QObject* parent = nullptr);
    // Stops the present run and waits for the worker to end.
    ~ScanRunner() override;

    // Starts a scan of the inputs and returns its generation (1, 2, …).
    std::uint64_t start(HeldInputTexts inputs);
    // The generation of the newest run, 0 before the first.
    std::uint64_t generation() const { return generation_; }
    // True from start() until the newest run's rows are delivered.
    bool running() const { return running_; }
    // Blocks until no worker runs any more; what they delivered is still
    // queued to this object's thread. For tests and teardown.
    void waitForWorkers();
    // While held, the workers take no further modulus: the main window's
    // runs go first. A stop still ends a held run.
    void hold(bool held);

signals:
    // Moduli done so far of the newest run, out of `total`.
    void progress(int done, int total);
    // Every row of the newest run, ascending by modulus.
    void finished(std::uint64_t generation, const std::vector<fibmod::ScanRow>& rows);

private:
    void deliver(std::uint64_t generation, const std::shared_ptr<std::vector<ScanRow>>& rows);
    void report(std::uint64_t generation, int done);

    std::mutex gateMutex_;
    std::condition_variable_any gateOpen_;
    bool held_ = false;
    QThreadPool pool_;
    std::stop_source stop_;
    std::uint64_t generation_ = 0;
    bool running_ = false;
};

} // namespace fibmod::overview
