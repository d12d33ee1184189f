// SPDX-License-Identifier: MIT
// The residues a walk met, as one byte or one bit per residue.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fibmod::lanes {

// The largest modulus whose flags are one byte per residue: the table then
// takes plain stores and still stays in the first-level cache. Above it one
// bit per residue, so that the table stays in the cache eight times longer.
inline constexpr std::uint32_t kByteTableLimit = std::uint32_t{1} << 15;

// One flag per residue 0 … M − 1 of one modulus, all clear after reset().
// Bytes (0 or 1) up to kByteTableLimit, bits above it: bit v of the table is
// bit v % 8 of byte v / 8, so the same memory read as 64-bit words holds
// residue v at bit v % 64 of word v / 64.
class ResidueFlags {
public:
    // Clears the flags for modulus M (2 <= M < 2^31), keeping the memory.
    void reset(std::uint32_t M);

    std::uint32_t modulus() const { return M_; }
    // True when every residue has a byte of its own.
    bool bytes() const { return M_ <= kByteTableLimit; }
    // The table, to be written by the walk: M bytes, or whole 64-bit words
    // of bits.
    std::uint8_t* data() { return table_.data(); }

    // Flags one residue (< M).
    void add(std::uint32_t residue)
    {
        if (bytes())
            table_[residue] = 1;
        else
            table_[residue >> 3] = static_cast<std::uint8_t>(table_[residue >> 3] | 1u << (residue & 7));
    }
    // True when `residue` (< M) is flagged.
    bool has(std::uint32_t residue) const
    {
        return bytes() ? table_[residue] != 0 : (table_[residue >> 3] >> (residue & 7) & 1) != 0;
    }

    // The residues flagged in both, ascending; both must share the modulus.
    friend std::vector<std::int64_t> CommonResidues(const ResidueFlags& a, const ResidueFlags& b);
    // How many residues are flagged in both, without listing them.
    friend std::int64_t CommonCount(const ResidueFlags& a, const ResidueFlags& b);

private:
    std::uint32_t M_ = 0;
    // Padded to whole 64-bit words.
    std::vector<std::uint8_t> table_;
};

} // namespace fibmod::lanes
