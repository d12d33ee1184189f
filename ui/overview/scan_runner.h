// SPDX-License-Identifier: MIT
// The overview's scan on worker threads, its rows handed on in batches.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <cstdint>
#include <memory>
#include <mutex>
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
    // While held, the workers take no further modulus: the main window's
    // runs go first. A stop still ends a held run.
    void hold(bool held);

signals:
    // The next rows of the present run, ascending and following the ones
    // handed on before; `done` of `total` moduli are now handed on.
    void rowsArrived(const std::vector<fibmod::ScanRow>& rows, std::int64_t done, std::int64_t total);
    // The present run handed on its last row.
    void finished();

private:
    // Test code reaches the seams below; nothing else does.
    friend class ScanRunnerProbe;

    struct Run;
    void flushSoon(const std::shared_ptr<Run>& run);
    // Hands on whatever the workers have computed, as the next batch would.
    void flush();
    // Blocks until no worker runs any more; what they computed is still
    // waiting for the next batch.
    void waitForWorkers();

    std::mutex gateMutex_;
    std::condition_variable_any gateOpen_;
    bool held_ = false;
    // Unset but in tests: changes the options of each run from the next
    // start() on (to hold it at a chosen modulus, through the scan's own
    // beforeModulus and mayBegin, after the main window's hold).
    std::function<void(ScanOptions&)> adjustOptions_;
    QThreadPool pool_;
    std::shared_ptr<Run> run_;
    QTimer* batchTimer_ = nullptr;
    std::chrono::steady_clock::time_point lastBatch_{};
};

} // namespace fibmod::overview
