// SPDX-License-Identifier: MIT
// The period engine as the programs reach it: one narrow entry (inputs and
// moduli in, rows out) in the module fibmod-period.so, which holds FLINT
// and is loaded the first time a program asks for a period.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>

#include "core/engine/period/period_inputs.h"
#include "core/engine/period/period_rows.h"
#include "core/engine/stop_signal.h"

namespace fibmod {

// One recurrence a(n+1) = r·a(n) + s·a(n−1) with a(0) = first and
// a(1) = second, each a whole number of any length in plain form
// (ReadWholeNumberText).
struct WholeInputTexts {
    std::string r;
    std::string s;
    std::string first;
    std::string second;
};

// What a run of the period engine takes besides its moduli.
struct PeriodJob {
    // The two recurrences, in the order of the rows' columns.
    std::array<WholeInputTexts, 2> sequences;
    // Worker threads; 0 takes one per core. The rows do not depend on it.
    unsigned threads = 0;
    // When stop is requested the run ends early: rows handed on stay handed
    // on, no further row follows.
    StopToken stop;
};

// Receives the rows, one at a time, in order, on the calling thread.
using PeriodRowSink = std::function<void(PeriodRowText&& row)>;

// The engine's entry: plain functions over the types above. Each hands
// every modulus's row to `sink` in order, as soon as the row and every row
// before it are done, and returns false when stopped. An exception from
// `sink` ends the run and is raised again once the workers have ended.
struct PeriodEngine {
    // The rows of `moduli` (each from 2 to kPeriodModulusMax), in the order
    // given.
    bool (*periods)(const PeriodJob& job, std::span<const PeriodUInt128> moduli, const PeriodRowSink& sink);
    // The rows of every modulus from `from` to `to` (2 <= from <= to <=
    // kPeriodModulusMax), ascending, however many.
    bool (*range)(const PeriodJob& job, PeriodUInt128 from, PeriodUInt128 to, const PeriodRowSink& sink);
};

// The module's file name, and its entry: an extern "C" function without
// arguments that returns a pointer to its PeriodEngine.
inline constexpr const char* kPeriodEngineModule = "fibmod-period.so";
inline constexpr const char* kPeriodEngineEntry = "fibmod_period_engine";

// The period engine's module cannot be loaded: missing from the
// installation, or not the program's.
class PeriodEngineMissing : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The engine in the module `fileName`, looked for in the folders of the
// calling program's (or extension's) RUNPATH, loaded and kept loaded.
// PeriodEngineMissing naming the module and the loader's reason when it
// cannot be. Safe to call from several threads.
const PeriodEngine& PeriodEngineIn(const char* fileName);

// PeriodEngineIn(kPeriodEngineModule), loaded on the first call.
const PeriodEngine& LoadedPeriodEngine();

} // namespace fibmod
