// SPDX-License-Identifier: MIT
// How the overview runs: its scan's batches and options, the residues it keeps, how often a sorted table takes new rows.
#pragma once

#include <chrono>

#include "ui/overview/kept_rows.h"
#include "ui/overview/scan_filter_model.h"
#include "ui/overview/scan_runner.h"

namespace fibmod::overview {

// The overview's working figures. The program runs with the defaults; a
// test may hold the scan at a modulus (scan.scan.beforeModulus),
// hand on rows at every chance (scan.batchInterval 0) or keep fewer residues.
struct OverviewTuning {
    ScanRunnerSettings scan;
    ResidueBudget residues;
    // A table sorted other than by ascending moduli merges new rows in at
    // most this often.
    std::chrono::milliseconds sortedMerge = ScanFilterModel::kMergeInterval;
    // After the last key in an input field, the overview waits this long
    // before it computes again.
    std::chrono::milliseconds pause{300};
};

} // namespace fibmod::overview
