// SPDX-License-Identifier: MIT
// A residue set's list and table, and the residues two sets share.
#include "core/engine/residue_set.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

namespace fibmod {

namespace {

static_assert(std::endian::native == std::endian::little, "bit v of the table is bit v % 64 of word v / 64");

// The table's bytes as 64-bit words, read without breaking aliasing rules.
std::uint64_t Word(const std::vector<std::uint8_t>& table, std::size_t w)
{
    std::uint64_t word;
    std::memcpy(&word, table.data() + w * 8, 8);
    return word;
}

// The bits set in both tables, `words` 64-bit words each.
[[gnu::always_inline]] inline std::int64_t CountBoth(const std::vector<std::uint8_t>& a,
                                                     const std::vector<std::uint8_t>& b, std::size_t words)
{
    std::int64_t count = 0;
    for (std::size_t w = 0; w < words; ++w) count += std::popcount(Word(a, w) & Word(b, w));
    return count;
}

// The same with the processor's popcnt instruction, which plain x86-64 may
// lack (the compiler then calls a library routine for every word).
#if defined(__x86_64__)
[[gnu::target("popcnt")]] std::int64_t CountBothWithPopcnt(const std::vector<std::uint8_t>& a,
                                                          const std::vector<std::uint8_t>& b, std::size_t words)
{
    return CountBoth(a, b, words);
}

bool HasPopcnt()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("popcnt") != 0;
    }();
    return has;
}
#endif

std::int64_t CountInBothTables(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
{
    const std::size_t words = a.size() / 8;
#if defined(__x86_64__)
    if (HasPopcnt()) return CountBothWithPopcnt(a, b, words);
#endif
    return CountBoth(a, b, words);
}

} // namespace

void ResidueSet::reset(std::uint64_t M)
{
    M_ = M;
    listLimit_ = std::max<std::size_t>(16, M / 64);
    listed_.clear();
    table_.clear();
    bytes_ = false;
}

void ResidueSet::toTable(bool bytes)
{
    bytes_ = bytes;
    const std::size_t used = bytes ? M_ : (M_ + 7) / 8;
    table_.assign((used + 7) / 8 * 8, 0);
    for (const std::uint32_t residue : listed_) add(residue);
    listed_.clear();
}

std::uint8_t* ResidueSet::flagTable()
{
    if (table_.empty()) toTable(M_ <= kByteTableLimit);
    return table_.data();
}

bool ResidueSet::has(std::uint64_t residue) const
{
    if (table_.empty()) return std::find(listed_.begin(), listed_.end(), residue) != listed_.end();
    return bytes_ ? table_[residue] != 0 : (table_[residue >> 3] >> (residue & 7) & 1) != 0;
}

void ResidueSet::sortList()
{
    std::sort(listed_.begin(), listed_.end());
    listed_.erase(std::unique(listed_.begin(), listed_.end()), listed_.end());
}

std::vector<std::int64_t> Common(ResidueSet& a, ResidueSet& b)
{
    assert(a.M_ == b.M_);
    std::vector<std::int64_t> common;
    if (a.table_.empty() && b.table_.empty()) {
        a.sortList();
        b.sortList();
        std::set_intersection(a.listed_.begin(), a.listed_.end(), b.listed_.begin(), b.listed_.end(),
                              std::back_inserter(common));
        return common;
    }
    if (a.table_.empty() || b.table_.empty()) {
        ResidueSet& listed = a.table_.empty() ? a : b;
        const ResidueSet& table = a.table_.empty() ? b : a;
        listed.sortList();
        for (const std::uint32_t residue : listed.listed_)
            if (table.has(residue)) common.push_back(residue);
        return common;
    }
    if (a.bytes_ != b.bytes_) {
        // A table of bytes (from the lanes) beside one of bits (from a plain walk).
        const ResidueSet& bits = a.bytes_ ? b : a;
        const ResidueSet& bytes = a.bytes_ ? a : b;
        for (std::size_t w = 0; w < bits.table_.size() / 8; ++w)
            for (std::uint64_t word = Word(bits.table_, w); word != 0; word &= word - 1) {
                const std::uint64_t residue = w * 64 + static_cast<std::uint64_t>(std::countr_zero(word));
                if (bytes.table_[residue] != 0) common.push_back(static_cast<std::int64_t>(residue));
            }
        return common;
    }
    // Sized once and written through a pointer: a push_back per residue
    // would check the capacity and store the size every time.
    common.resize(static_cast<std::size_t>(CountInBothTables(a.table_, b.table_)));
    std::int64_t* out = common.data();
    const std::size_t words = a.table_.size() / 8;
    // Flags in bytes are 0 or 1: a word's AND has one bit per common residue
    // at the bottom of its byte.
    const int shift = a.bytes_ ? 3 : 0;
    const std::int64_t perWord = 64 >> shift;
    for (std::size_t w = 0; w < words; ++w) {
        const auto first = static_cast<std::int64_t>(w) * perWord;
        for (std::uint64_t both = Word(a.table_, w) & Word(b.table_, w); both != 0; both &= both - 1)
            *out++ = first + (std::countr_zero(both) >> shift);
    }
    assert(out == common.data() + common.size());
    return common;
}

std::int64_t CommonCount(ResidueSet& a, ResidueSet& b)
{
    assert(a.M_ == b.M_);
    if (a.table_.empty() || b.table_.empty() || a.bytes_ != b.bytes_)
        return static_cast<std::int64_t>(Common(a, b).size());
    return CountInBothTables(a.table_, b.table_);
}

} // namespace fibmod
