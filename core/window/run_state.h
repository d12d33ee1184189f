// SPDX-License-Identifier: MIT
// The window's state between events: the inputs, the term tables and the residue flags.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "core/engine/recurrence.h"

namespace fibmod {

// The generated terms of one sequence: slots 1 … 3000 hold the n-th term,
// slot 0 is never written. Any index outside 0 … 3000 is error 9, checked
// before a slot is touched.
class TermTable {
public:
    static constexpr int kLast = kMaxCycleTerms;

    double at(int n) const;
    void set(int n, double value);
    // Slots 1 … count: the first `count` terms; error 9 when count is past
    // the last slot.
    std::span<const double> first(int count) const;

private:
    double slots_[kLast + 1] = {};
};

// One flag per residue 0 … 10,000,000: 1 means common to both cycles.
// Allocated in full with the run state, as zero pages that become resident
// only where a run touches them.
class ResidueFlagTable {
public:
    static constexpr std::int32_t kLast = kLastFlaggedResidue;

    ResidueFlagTable();

    std::int32_t at(std::int32_t n) const;
    void set(std::int32_t n, std::int32_t value);
    // The flag of the residue nearest to `value` (ties to even); error 9 when
    // that residue lies outside the table.
    void setNearest(double value, std::int32_t flag);

private:
    struct Free {
        void operator()(std::int32_t* flags) const { std::free(flags); }
    };
    std::unique_ptr<std::int32_t[], Free> flags_;
};

// The window's state between events. Zero at creation, kept until the end.
struct RunState {
    double s2 = 0;
    double r2 = 0;
    double s1 = 0;
    double r1 = 0;
    std::int32_t i = 0;
    std::int32_t j = 0;
    double M = 0;
    double prev2 = 0, cur2 = 0, next2 = 0;
    double prev1 = 0, cur1 = 0, next1 = 0;
    std::int32_t count2 = 0;
    std::int32_t count1 = 0;
    std::int32_t CommonCount = 0;
    TermTable terms2;
    TermTable terms1;
    ResidueFlagTable ResidueFlags;

    // Bookkeeping for runs that nest through the event hand-over.
    // Every reset gets a new serial; a run that sees another serial after a
    // hand-over has been superseded.
    std::uint64_t resetSerial = 0;
    // The reset whose run is handed over right now, while one is.
    bool showUnderWay = false;
    std::uint64_t showSerial = 0;
    // The reset after which the common count was last written.
    std::uint64_t countSerial = 0;
};

} // namespace fibmod
