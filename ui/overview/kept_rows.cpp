// SPDX-License-Identifier: MIT
// The overview's rows held compactly, their residues in large blocks within a budget.
#include "ui/overview/kept_rows.h"

#include <algorithm>

namespace fibmod::overview {

namespace {

// Residues a block holds unless one row needs more.
constexpr std::size_t kBlockResidues = std::size_t{1} << 18;

} // namespace

struct KeptRows::Block {
    std::unique_ptr<std::uint32_t[]> data;
    std::size_t capacity = 0;
    std::size_t used = 0;
};

KeptRows::KeptRows(ResidueBudget budget) : budget_(budget) {}
KeptRows::~KeptRows() = default;
KeptRows::KeptRows(KeptRows&&) noexcept = default;
KeptRows& KeptRows::operator=(KeptRows&&) noexcept = default;

std::uint32_t* KeptRows::placeResidues(std::size_t count, Row& row)
{
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < count) {
        Block block;
        block.capacity = std::max(count, kBlockResidues);
        block.data = std::make_unique_for_overwrite<std::uint32_t[]>(block.capacity);
        blocks_.push_back(std::move(block));
    }
    Block& block = blocks_.back();
    row.block = static_cast<std::uint32_t>(blocks_.size() - 1);
    row.offset = static_cast<std::uint32_t>(block.used);
    block.used += count;
    return block.data.get() + row.offset;
}

void KeptRows::append(const ScanRow& row)
{
    Row kept{row.modulus, row.length1, row.length2, row.commonCount(), kNotKept, 0, row.failed(),
             HasSingleCommonResidue(row)};
    const std::size_t bytes = row.residues.size() * sizeof(std::uint32_t);
    if (!row.residues.empty() &&
        (row.modulus <= budget_.alwaysUpTo || residueBytes_ + bytes <= budget_.bytes)) {
        std::uint32_t* out = placeResidues(row.residues.size(), kept);
        for (const std::int64_t residue : row.residues) *out++ = static_cast<std::uint32_t>(residue);
        residueBytes_ += bytes;
    }
    if (row.failure) failures_.emplace_back(rows_.size(), *row.failure);
    rows_.push_back(kept);
}

void KeptRows::clear()
{
    // Swapped out, not cleared: clear() would keep the capacity.
    std::vector<Row>().swap(rows_);
    std::vector<Block>().swap(blocks_);
    std::vector<std::pair<std::size_t, RowFailure>>().swap(failures_);
    residueBytes_ = 0;
}

RowFigures KeptRows::figures(std::size_t at) const
{
    const Row& row = rows_[at];
    RowFigures figures{row.modulus, row.length1, row.length2, row.count, nullptr};
    if (row.failed) {
        const auto found = std::lower_bound(failures_.begin(), failures_.end(), at,
                                            [](const auto& failure, std::size_t i) { return failure.first < i; });
        figures.failure = &found->second;
    }
    return figures;
}

bool KeptRows::residuesKept(std::size_t at) const { return rows_[at].count == 0 || rows_[at].block != kNotKept; }

std::span<const std::uint32_t> KeptRows::keptResidues(std::size_t at) const
{
    const Row& row = rows_[at];
    if (row.block == kNotKept) return {};
    return {blocks_[row.block].data.get() + row.offset, static_cast<std::size_t>(row.count)};
}

ScanRow KeptRows::row(std::size_t at) const
{
    const RowFigures kept = figures(at);
    ScanRow row;
    row.modulus = kept.modulus;
    row.length1 = kept.length1;
    row.length2 = kept.length2;
    if (kept.failure != nullptr) row.failure = *kept.failure;
    const std::span<const std::uint32_t> residues = keptResidues(at);
    row.residues.assign(residues.begin(), residues.end());
    return row;
}

std::optional<std::size_t> KeptRows::indexOf(std::int64_t modulus) const
{
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), modulus,
                                     [](const Row& row, std::int64_t m) { return row.modulus < m; });
    if (at == rows_.end() || at->modulus != modulus) return std::nullopt;
    return static_cast<std::size_t>(at - rows_.begin());
}

} // namespace fibmod::overview
