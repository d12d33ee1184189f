// SPDX-License-Identifier: MIT
// The test seams of the overview: hold its scan, hand on its rows at once, read its lines.
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QLabel>

#include "core/engine/scan.h"
#include "ui/overview/overview_window.h"
#include "ui/overview/scan_runner.h"
#include "ui/overview/scan_table_model.h"

namespace fibmod::overview {

// Holds a scan on its workers: `wait` may block before a modulus until the
// scan's stop is requested at the latest; `isOpen` says whether it would
// let a modulus pass at once.
struct ScanHold {
    std::function<void(std::int64_t modulus, std::stop_token stop)> wait;
    std::function<bool(std::int64_t modulus)> isOpen;
};

// Reaches the runner's private seams; only tests and benchmarks include it.
class ScanRunnerProbe {
public:
    // From the next start() on, `hold` is asked before each modulus, after
    // the main window's hold, through the scan's own options.
    static void setHold(ScanRunner& runner, ScanHold hold)
    {
        runner.adjustOptions_ = [hold = std::move(hold)](ScanOptions& options) {
            options.beforeModulus = [before = std::move(options.beforeModulus), hold,
                                     stop = options.stop](std::int64_t modulus) {
                before(modulus);
                if (!stop.stop_requested()) hold.wait(modulus, stop);
            };
            options.mayBegin = [may = std::move(options.mayBegin), hold](std::int64_t modulus) {
                return may(modulus) && hold.isOpen(modulus);
            };
        };
    }
    // Hands on at once whatever the workers have computed.
    static void deliverNow(ScanRunner& runner)
    {
        QCoreApplication::sendPostedEvents(&runner);
        runner.flush();
    }
    static void waitForWorkers(ScanRunner& runner) { runner.waitForWorkers(); }
};

// The overview's insides for tests and benchmarks.
class OverviewProbe {
public:
    static ScanRunner& runner(OverviewWindow& window) { return *window.runner_; }
    static void setHold(OverviewWindow& window, ScanHold hold) { ScanRunnerProbe::setHold(*window.runner_, std::move(hold)); }
    // Blocks until the workers are idle; their rows wait for the next batch.
    static void waitForWorker(OverviewWindow& window) { ScanRunnerProbe::waitForWorkers(*window.runner_); }
    // Shows at once the rows computed so far, as the next batch would.
    static void deliverNow(OverviewWindow& window) { ScanRunnerProbe::deliverNow(*window.runner_); }
    static bool computing(const OverviewWindow& window) { return window.runner_->running(); }
    // The rows shown, whole: residues not kept are computed again.
    static std::vector<ScanRow> rows(const OverviewWindow& window)
    {
        std::vector<ScanRow> rows;
        for (int at = 0; at < window.model_->rowCount(); ++at) rows.push_back(window.model_->row(at));
        return rows;
    }
    static QString summaryText(const OverviewWindow& window) { return window.status_->text(); }
    static QString detailText(const OverviewWindow& window) { return window.detail_->text(); }
    static QString problemText(const OverviewWindow& window) { return window.problem_->text(); }
};

} // namespace fibmod::overview
