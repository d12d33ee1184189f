// SPDX-License-Identifier: MIT
// The overview's rows held compactly: every row's figures, its residues only within a budget.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/engine/scan_row.h"

namespace fibmod::overview {

// How many common residues the overview keeps. A row's residues are kept
// when its modulus is at most `alwaysUpTo`, or else while every residue kept
// so far and its own stay within `bytes`.
struct ResidueBudget {
    std::int64_t alwaysUpTo = 2000;
    std::size_t bytes = std::size_t{64} << 20;
};

// What the window shows of a row without its residues.
struct RowFigures {
    std::int64_t modulus = 0;
    std::int64_t length1 = 0;
    std::int64_t length2 = 0;
    std::int64_t commonCount = 0;
    // Set for a row without figures; the numbers above are then 0.
    const RowFailure* failure = nullptr;

    bool failed() const { return failure != nullptr; }
};

// A scan's rows in the order appended (ascending moduli), some fifty bytes a
// row plus the residues kept. Residues are below kEngineModulusMax and are
// kept as 32-bit numbers in large blocks, never as a vector per row.
class KeptRows {
public:
    explicit KeptRows(ResidueBudget budget = {});
    ~KeptRows();
    KeptRows(KeptRows&&) noexcept;
    KeptRows& operator=(KeptRows&&) noexcept;

    const ResidueBudget& budget() const { return budget_; }

    // Appends a row whose modulus is above every row's so far.
    void append(const ScanRow& row);
    // Drops every row and gives their memory back to the allocator.
    void clear();

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    std::int64_t modulus(std::size_t at) const { return rows_[at].modulus; }
    RowFigures figures(std::size_t at) const;
    // True when `at` is the stepping's goal: exactly one common residue.
    bool singleCommon(std::size_t at) const { return rows_[at].single; }
    // True when the row's residues are here (always for a row without any).
    bool residuesKept(std::size_t at) const;
    // The row's residues, ascending; empty when not kept.
    std::span<const std::uint32_t> keptResidues(std::size_t at) const;
    // The whole row where its residues are kept; otherwise its figures with
    // no residues (residuesKept tells which).
    ScanRow row(std::size_t at) const;
    // The position of `modulus`, or none.
    std::optional<std::size_t> indexOf(std::int64_t modulus) const;
    // The bytes the kept residues take.
    std::size_t residueBytes() const { return residueBytes_; }

private:
    struct Row {
        std::int64_t modulus;
        std::int64_t length1;
        std::int64_t length2;
        std::int64_t count;
        // Where the residues are: block and offset; block kNotKept when not.
        std::uint32_t block;
        std::uint32_t offset;
        bool failed;
        bool single;
    };
    struct Block;
    static constexpr std::uint32_t kNotKept = 0xFFFFFFFFu;

    std::uint32_t* placeResidues(std::size_t count, Row& row);

    ResidueBudget budget_;
    std::vector<Row> rows_;
    std::vector<Block> blocks_;
    // The failed rows' reasons, by position, ascending.
    std::vector<std::pair<std::size_t, RowFailure>> failures_;
    std::size_t residueBytes_ = 0;
};

} // namespace fibmod::overview
