// SPDX-License-Identifier: MIT
// One modulus's row, in exact integers or in the window's doubles, and which term bounds fit which inputs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/engine/inputs.h"
#include "core/engine/residue_set.h"
#include "core/engine/scan_row.h"
#include "core/engine/stop_signal.h"
#include "core/engine/term_bound.h"

namespace fibmod {

// One modulus from kModulusMin to kEngineModulusMax, as the window computes
// it where the window reaches. Whole-number inputs are computed in exact
// integers where the window's double arithmetic is exact, and always above
// kModulusMax or with no bound; other inputs keep the window's double
// arithmetic. Rows up to
// kModulusMax with the window's bound are the window's own, to the last
// residue and error. std::invalid_argument when !BoundFits.
ScanRow ScanModulus(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms = kWindowTermBound);

// What a worker keeps from one modulus to the next for the lane walks (their
// flag tables), and the token that ends a long walk early.
struct RowScratch {
    ResidueSet one;
    ResidueSet two;
    StopToken stop;
    // False: the row keeps the common count alone (ScanRow::dropResidues).
    bool residues = true;
};

// ScanModulus with the worker's scratch; none when stopped.
std::optional<ScanRow> ScanModulus(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms,
                                   RowScratch& scratch);

// The two ways ScanModulus computes, for whichever inputs they take: the
// window's double arithmetic (any inputs, a bound needed) and exact
// integers (whole-number inputs only). Where the window's arithmetic is
// exact they give the same row.
ScanRow ScanModulusInDoubles(const Inputs& inputs, std::int64_t modulus, std::int64_t maxTerms);
ScanRow ScanModulusInIntegers(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms);
// The same with the worker's scratch; none when stopped. Whole cycles with s
// prime to M are walked in vector lanes from kLaneModulusMin on, the rest
// one term at a time as ScanModulusPlainly does.
std::optional<ScanRow> ScanModulusInIntegers(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms,
                                             RowScratch& scratch);
// Exact integers one term at a time: the reference the lane walks must
// agree with, row for row.
ScanRow ScanModulusPlainly(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms);

// The smallest modulus walked in lanes: below it the cycles are short, and
// the plain walk costs less than the lanes' start.
inline constexpr std::int64_t kLaneModulusMin = 2001;

// True when `maxTerms` may be used with `inputs`: a bound from 1 to
// kTermBoundMax, or no bound with inputs that are all whole numbers (only
// for them is a start pair that never comes back found).
bool BoundFits(const Inputs& inputs, TermBound maxTerms);
// Why not, in one German line for the user; empty when it fits.
std::string BoundProblem(const Inputs& inputs, TermBound maxTerms);
// The same for inputs as texts. Texts whose reading is itself a run-time
// error pass: every row reports that error instead.
std::string BoundProblem(const InputTexts& texts, TermBound maxTerms);

// std::invalid_argument ("1 is outside the range 2 to 2147483647") for a
// modulus outside kModulusMin … kEngineModulusMax.
void CheckEngineModulus(std::int64_t modulus);

// True when ScanModulus computes this modulus in exact integers.
bool UsesWholeNumbers(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms);

} // namespace fibmod
