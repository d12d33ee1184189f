// SPDX-License-Identifier: MIT
// Rows of many moduli with several cycle walks in flight at once.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>

#include "core/engine/inputs.h"
#include "core/engine/scan_row.h"
#include "core/engine/term_bound.h"

namespace fibmod {

// Rows of many moduli computed with several cycle walks in flight at once:
// one walk alone waits on each multiply and reduction before the next term,
// while walks of other moduli, advanced in turn in the same loop, let the
// processor overlap them. Every row equals ScanModulus's for the same
// modulus; moduli the interleaved walks do not take (see Takes) are
// computed by ScanModulus itself.
class InterleavedWalks {
public:
    // Gives the next modulus, or none when there are no more. `idle` is
    // true when no walk is in flight, so that it may wait for work; when
    // false it must answer at once (none: not now).
    using Source = std::function<std::optional<std::int64_t>(bool idle)>;
    // Receives each finished row, in the order the rows finish.
    using Sink = std::function<void(ScanRow&& row)>;

    InterleavedWalks(const Inputs& inputs, TermBound maxTerms);

    // True when the interleaved walks compute this modulus: exact integers,
    // a modulus whose residue sets stay small, and no start pair that would
    // need Brent's search (one that may never come back).
    bool takes(std::int64_t modulus) const;

    // Computes every modulus `next` gives until it gives none while idle,
    // or until `stop` is requested (walks in flight are then dropped).
    void run(const Source& next, const Sink& done, std::stop_token stop) const;

private:
    Inputs inputs_;
    TermBound maxTerms_;
};

} // namespace fibmod
