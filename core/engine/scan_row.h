// SPDX-License-Identifier: MIT
// One modulus's row: both cycle lengths and the common residues, or why there are none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fibmod {

// Why a row has no figures.
struct RowFailure {
    enum class Kind {
        // A run-time error of the window's computation (6 or 9).
        RunTimeError,
        // With no term bound: a sequence's start pair never comes back.
        NeverRecurs,
    };
    Kind kind = Kind::RunTimeError;
    // 6 or 9 for a run-time error, 0 otherwise.
    int error = 0;
    // One German line: the window's report ("Laufzeitfehler 9: …") or
    // "Folge 2: Startpaar kehrt nicht wieder (Vorlauf 3, Zyklus 8)".
    std::string message;

    friend bool operator==(const RowFailure&, const RowFailure&) = default;
};

// What the window shows after one modulus is typed into its modulus field,
// the other inputs as given: both cycle lengths and the common residues as
// the summary lists them, or why there are none.
struct ScanRow {
    std::int64_t modulus = 0;
    std::int64_t length1 = 0;
    std::int64_t length2 = 0;
    // Ascending; their number is the common count.
    std::vector<std::int64_t> residues;
    // Set when the row has no figures; the numbers above are then 0 and empty.
    std::optional<RowFailure> failure;

    bool failed() const { return failure.has_value(); }
    bool neverRecurs() const { return failure && failure->kind == RowFailure::Kind::NeverRecurs; }
    bool runTimeError() const { return failure && failure->kind == RowFailure::Kind::RunTimeError; }
    std::int64_t commonCount() const { return static_cast<std::int64_t>(residues.size()); }
    // The residues in plain decimals, one blank apart ("1 2 4"); empty for none.
    std::string residuesText() const;
    // The failure's message, or the empty text.
    std::string failureText() const { return failure ? failure->message : std::string(); }

    friend bool operator==(const ScanRow&, const ScanRow&) = default;
};

class RunTimeError;

// The row of a modulus whose computation ended in `error`.
ScanRow ErrorRow(std::int64_t modulus, const RunTimeError& error);
// The row of a modulus whose sequence (1 or 2) never comes back to its start
// pair: after `tail` steps its pairs run round a cycle of `cycle` pairs.
ScanRow NeverRecursRow(std::int64_t modulus, int sequence, std::int64_t tail, std::int64_t cycle);

// True where "Nächster: Nur Rest 1 gemeinsam" stops: exactly one common
// residue, or a row without figures (the window reports its error there).
bool StopsStepping(const ScanRow& row);

// True for exactly one common residue, the stepping's goal; failed rows never.
bool HasSingleCommonResidue(const ScanRow& row);

} // namespace fibmod
