// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stop_token>
#include <vector>

#include <QObject>
#include <QThreadPool>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"

class QTimer;

namespace fibmod::overview {

// Scans a range of moduli on worker threads, one run at a time, and hands
// the rows on as they are computed: in ascending order, in batches at most
// kBatchesPerSecond times a second (the first batch at once). A new run or
// stop() ends the one before it; no row of an ended run is handed on after
// that call returns. Signals arrive on the thread that owns the runner.
class ScanRunner : public QObject {
    Q_OBJECT

public:
    static constexpr int kBatchesPerSecond = 10;

    explicit ScanRunner(QObject* parent = nullptr);
    // Stops the present run and waits for its workers to end.
    ~ScanRunner() override;

    // Starts a scan of `range` for the inputs with at most `maxTerms` terms a
    // cycle. The bound must fit the inputs (BoundFits) unless reading them is
    // itself a run-time error.
    void start(HeldInputTexts inputs, ModulusRange range, TermBound maxTerms);
    // Ends the present run; the rows handed on so far stay handed on.
    void stop();
    // True from start() until the run's last row is handed on and finished()
    // is emitted, or until stop().
    bool running() const { return run_ != nullptr; }
    // Blocks until no worker runs any more; what they computed is still
    // waiting for the next batch. For tests and teardown.
    void waitForWorkers();
    // Hands on at once whatever the workers have computed, as the next batch
    // would. For tests.
    void deliverNow();
    // While held, the workers take no further modulus: the main window's
    // runs go first. A stop still ends a held run.
    void hold(bool held);
    // A test's hold on the scan at a known place; takes effect with the next
    // start().
    struct Gate {
        // Called on a worker before each modulus, after the hold; it may
        // block until `stop` is requested at the latest.
        std::function<void(std::int64_t modulus, std::stop_token stop)> wait;
        // True when `wait` would let `modulus` pass at once; unset: always.
        std::function<bool(std::int64_t modulus)> isOpen;
    };
    void setGate(Gate gate) { gate_ = std::move(gate); }

signals:
    // The next rows of the present run, ascending and following the ones
    // handed on before; `done` of `total` moduli are now handed on.
    void rowsArrived(const std::vector<fibmod::ScanRow>& rows, std::int64_t done, std::int64_t total);
    // The present run handed on its last row.
    void finished();

private:
    struct Run;
    void flushSoon(const std::shared_ptr<Run>& run);
    void flush();

    std::mutex gateMutex_;
    std::condition_variable_any gateOpen_;
    bool held_ = false;
    Gate gate_;
    QThreadPool pool_;
    std::shared_ptr<Run> run_;
    QTimer* batchTimer_ = nullptr;
    std::chrono::steady_clock::time_point lastBatch_{};
};

} // namespace fibmod::overview
