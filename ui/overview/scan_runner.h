// SPDX-License-Identifier: MIT
// The overview's scan on worker threads, its rows handed on in batches.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
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

// How a ScanRunner runs its scans; the defaults are the overview's.
struct ScanRunnerSettings {
    // The options each run starts from. The runner sets the term bound and
    // the stop, and asks its own hold (hold()) before beforeModulus; threads
    // 0 takes one per core.
    ScanOptions scan;
    // Rows are handed on at most once per interval (the first batch at once).
    std::chrono::milliseconds batchInterval{100};
    // Rows computed and not yet taken by the owner's thread hold at most
    // about this many bytes; the scan waits for the next batch beyond it.
    std::size_t pendingBytes = std::size_t{32} << 20;
};

// Scans a range of moduli on worker threads, one run at a time, and hands
// the rows on as they are computed: in ascending order, in batches at most
// once per settings' batchInterval (the first batch at once). A new run or
// stop() ends the one before it; no row of an ended run is handed on after
// that call returns. Signals arrive on the thread that owns the runner.
class ScanRunner : public QObject {
    Q_OBJECT

public:
    explicit ScanRunner(ScanRunnerSettings settings = {}, QObject* parent = nullptr);
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
    struct Run;
    void flushSoon(const std::shared_ptr<Run>& run);
    // Hands on whatever the workers have computed.
    void flush();

    const ScanRunnerSettings settings_;
    std::mutex gateMutex_;
    std::condition_variable_any gateOpen_;
    bool held_ = false;
    QThreadPool pool_;
    std::shared_ptr<Run> run_;
    QTimer* batchTimer_ = nullptr;
    std::chrono::steady_clock::time_point lastBatch_{};
};

} // namespace fibmod::overview
