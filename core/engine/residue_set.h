// SPDX-License-Identifier: MIT
// The residues a walk met, and the residues two walks have in common.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fibmod {

// The largest modulus whose table is one byte per residue: the table then
// takes plain stores and still stays in the first-level cache. Above it one
// bit per residue, so that the table stays in the cache eight times longer.
inline constexpr std::uint32_t kByteTableLimit = std::uint32_t{1} << 15;

// A set of residues 0 … M − 1 of one modulus (2 <= M < 2^32). It starts as a
// list and turns into a table of bits once it holds more than a few, so that
// memory grows with M and never with a cycle's length, and stays small for
// short cycles. Bit v of the table is bit v % 8 of byte v / 8, so the same
// memory read as 64-bit words holds residue v at bit v % 64 of word v / 64.
// A walk in vector lanes writes the table itself (flagTable), which is then
// one byte (0 or 1) per residue up to kByteTableLimit: stores of bytes cost
// the vector loop less than bits, where the plain walk's intersection reads
// bits faster. Tables are padded to whole 64-bit words. Memory is kept from
// one reset to the next.
class ResidueSet {
public:
    ResidueSet() = default;
    explicit ResidueSet(std::uint64_t M) { reset(M); }

    // Empties the set for modulus M.
    void reset(std::uint64_t M);

    std::uint64_t modulus() const { return M_; }

    // Adds one residue (< M).
    void add(std::uint64_t residue)
    {
        if (table_.empty()) {
            listed_.push_back(static_cast<std::uint32_t>(residue));
            if (listed_.size() > listLimit_) toTable(false);
        } else if (bytes_) {
            table_[residue] = 1;
        } else {
            table_[residue >> 3] = static_cast<std::uint8_t>(table_[residue >> 3] | 1u << (residue & 7));
        }
    }
    // True when `residue` (< M) is in the set.
    bool has(std::uint64_t residue) const;

    // The set as a table from now on, to be written directly: M bytes up
    // to kByteTableLimit, else whole 64-bit words of bits, as bytes() then
    // says. Call it on an empty set.
    std::uint8_t* flagTable();
    // True when the table holds a byte per residue rather than a bit.
    bool bytes() const { return bytes_; }

    // The residues in both sets, ascending; both must share the modulus.
    // Either set's list may be put in order on the way.
    friend std::vector<std::int64_t> Common(ResidueSet& a, ResidueSet& b);
    // How many residues are in both, without listing them.
    friend std::int64_t CommonCount(ResidueSet& a, ResidueSet& b);

private:
    void toTable(bool bytes);
    void sortList();

    std::uint64_t M_ = 0;
    std::size_t listLimit_ = 0;
    // The residues while the set is a list (in the order added, repeats kept
    // until sorted); empty once it is a table.
    std::vector<std::uint32_t> listed_;
    // The table, empty while the set is a list.
    std::vector<std::uint8_t> table_;
    bool bytes_ = false;
};

} // namespace fibmod
