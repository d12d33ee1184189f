// SPDX-License-Identifier: MIT
// A residue set, as a list, a table of bytes or of bits, against a plain table of every residue.
#include "core/engine/residue_set.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/seeded_random.h"

namespace {

using fibmod::ResidueSet;
using fibmod::testing::SeededRandom;

// Fills `set` (reset for M) and `plain` alike: a few residues or many, some
// repeated, the ends of the range among them; now and then the set is made
// a table before the first residue, as a lane walk does.
void FillBoth(SeededRandom& draw, std::uint64_t M, ResidueSet& set, std::vector<bool>& plain)
{
    set.reset(M);
    plain.assign(M, false);
    if (draw.chance(25)) set.flagTable();
    // Past M / 64 residues the set turns into a table.
    const std::uint64_t count = draw.chance(50) ? draw.below(40) : draw.below(std::min(3 * M, M / 16 + 100));
    for (std::uint64_t k = 0; k < count; ++k) {
        const std::uint64_t residue = draw.chance(5) ? (draw.chance(50) ? 0 : M - 1) : draw.below(M);
        set.add(residue);
        plain[residue] = true;
    }
}

// The residues flagged in both plain tables, ascending.
std::vector<std::int64_t> InBoth(const std::vector<bool>& a, const std::vector<bool>& b)
{
    std::vector<std::int64_t> both;
    for (std::size_t residue = 0; residue < a.size(); ++residue)
        if (a[residue] && b[residue]) both.push_back(static_cast<std::int64_t>(residue));
    return both;
}

TEST(ResidueSetTest, HoldsListsAndCountsInCommonWhatAPlainSetDoesInEveryForm)
{
    SeededRandom draw(29);
    // Kept from trial to trial, as a worker keeps them.
    ResidueSet sets[2];
    std::vector<bool> plain[2];
    for (int trial = 0; trial < 400; ++trial) {
        // Small moduli, both sides of the limit of byte tables, and large ones.
        const std::uint64_t sizes[] = {20, 3000, fibmod::kByteTableLimit + 2, std::uint64_t{1} << 21};
        const std::uint64_t M = 2 + draw.below(sizes[draw.index(4)]);
        for (int k = 0; k < 2; ++k) FillBoth(draw, M, sets[k], plain[k]);
        for (int probe = 0; probe < 50; ++probe) {
            const std::uint64_t residue = draw.below(M);
            ASSERT_EQ(sets[0].has(residue), plain[0][residue])
                << residue << " mod " << M;
        }
        const std::vector<std::int64_t> common = InBoth(plain[0], plain[1]);
        ASSERT_EQ(Common(sets[0], sets[1]), common) << "M " << M << ", trial " << trial;
        ASSERT_EQ(CommonCount(sets[1], sets[0]), static_cast<std::int64_t>(common.size())) << "M " << M;
        // A set with itself is the set, in order, without repeats.
        ASSERT_EQ(Common(sets[1], sets[1]), InBoth(plain[1], plain[1])) << "M " << M;
    }
}

} // namespace
