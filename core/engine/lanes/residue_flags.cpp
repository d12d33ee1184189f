// SPDX-License-Identifier: MIT
// Clearing and intersecting the flag tables of the lane walks.
#include "core/engine/lanes/residue_flags.h"

#include <bit>
#include <cassert>
#include <cstring>

namespace fibmod::lanes {

namespace {

// The table's bytes as 64-bit words, read without breaking aliasing rules.
std::uint64_t Word(const std::vector<std::uint8_t>& table, std::size_t w)
{
    std::uint64_t word;
    std::memcpy(&word, table.data() + w * 8, 8);
    return word;
}

static_assert(std::endian::native == std::endian::little, "bit v of the table is bit v % 64 of word v / 64");

} // namespace

void ResidueFlags::reset(std::uint32_t M)
{
    M_ = M;
    const std::size_t used = bytes() ? M : (std::size_t{M} + 7) / 8;
    table_.assign((used + 7) / 8 * 8, 0);
}

std::vector<std::int64_t> CommonResidues(const ResidueFlags& a, const ResidueFlags& b)
{
    assert(a.M_ == b.M_);
    // Sized once and written through a pointer: a push_back per residue
    // would check the capacity and store the size every time.
    std::vector<std::int64_t> common(static_cast<std::size_t>(CommonCount(a, b)));
    std::int64_t* out = common.data();
    const std::size_t words = a.table_.size() / 8;
    // Flags in bytes are 0 or 1: a word's AND has one bit per common residue
    // at the bottom of its byte.
    const int shift = a.bytes() ? 3 : 0;
    const std::int64_t perWord = 64 >> shift;
    for (std::size_t w = 0; w < words; ++w) {
        const auto first = static_cast<std::int64_t>(w) * perWord;
        for (std::uint64_t both = Word(a.table_, w) & Word(b.table_, w); both != 0; both &= both - 1)
            *out++ = first + (std::countr_zero(both) >> shift);
    }
    assert(out == common.data() + common.size());
    return common;
}

namespace {

// The bits set in both tables, `words` 64-bit words each.
[[gnu::always_inline]] inline std::int64_t CountBoth(const std::vector<std::uint8_t>& a,
                                                     const std::vector<std::uint8_t>& b, std::size_t words)
{
    std::int64_t count = 0;
    for (std::size_t w = 0; w < words; ++w) count += std::popcount(Word(a, w) & Word(b, w));
    return count;
}

#if defined(__x86_64__) || defined(__i386__)
// The same with the processor's popcnt instruction, which plain x86-64 may
// lack (the compiler then calls a library routine for every word).
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

} // namespace

std::int64_t CommonCount(const ResidueFlags& a, const ResidueFlags& b)
{
    assert(a.M_ == b.M_);
    const std::size_t words = a.table_.size() / 8;
#if defined(__x86_64__) || defined(__i386__)
    return HasPopcnt() ? CountBothWithPopcnt(a.table_, b.table_, words) : CountBoth(a.table_, b.table_, words);
#else
    // Elsewhere (WebAssembly among them) the count is one instruction anyway.
    return CountBoth(a.table_, b.table_, words);
#endif
}

} // namespace fibmod::lanes
