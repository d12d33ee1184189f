// SPDX-License-Identifier: MIT
// The window's term tables and residue flags, and the error 9 at their edges.
#include "core/window/run_state.h"

#include <memory>

#include <gtest/gtest.h>

#include "core/engine/run_time_error.h"

namespace fibmod {
namespace {

int ErrorNumberOf(auto&& action)
{
    try {
        action();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(TermTable, AcceptsSlotsZeroTo3000AndLeavesItselfUnchangedBeyond)
{
    auto table = std::make_unique<TermTable>();
    table->set(0, 3);
    EXPECT_EQ(table->at(0), 3);
    table->set(1, 5);
    table->set(3000, 7);
    EXPECT_EQ(table->at(1), 5);
    EXPECT_EQ(table->at(3000), 7);
    EXPECT_EQ(ErrorNumberOf([&] { table->set(3001, 9); }), 9);
    EXPECT_EQ(ErrorNumberOf([&] { table->set(-1, 9); }), 9);
    EXPECT_EQ(ErrorNumberOf([&] { (void)table->at(3001); }), 9);
    EXPECT_EQ(table->at(3000), 7);
}

TEST(ResidueFlagTable, CoversEveryResidueUpToTenMillion)
{
    auto state = std::make_unique<RunState>();
    auto& flags = state->ResidueFlags;
    EXPECT_EQ(flags.at(0), 0);
    EXPECT_EQ(flags.at(ResidueFlagTable::kLast), 0);
    flags.set(ResidueFlagTable::kLast, 1);
    EXPECT_EQ(flags.at(ResidueFlagTable::kLast), 1);
    EXPECT_EQ(ErrorNumberOf([&] { flags.set(ResidueFlagTable::kLast + 1, 1); }), 9);
    EXPECT_EQ(ErrorNumberOf([&] { (void)flags.at(-1); }), 9);
}

TEST(ResidueFlagTable, FlagsTheNearestResidueWithTiesToEven)
{
    auto state = std::make_unique<RunState>();
    auto& flags = state->ResidueFlags;
    flags.setNearest(2.5, 1);
    flags.setNearest(3.5, 1);
    flags.setNearest(6.4, 1);
    EXPECT_EQ(flags.at(2), 1);
    EXPECT_EQ(flags.at(3), 0);
    EXPECT_EQ(flags.at(4), 1);
    EXPECT_EQ(flags.at(6), 1);
    EXPECT_EQ(ErrorNumberOf([&] { flags.setNearest(-0.6, 1); }), 9);
    EXPECT_EQ(ErrorNumberOf([&] { flags.setNearest(1e7 + 0.6, 1); }), 9);
    EXPECT_EQ(ErrorNumberOf([&] { flags.setNearest(1e300, 1); }), 9);
    flags.setNearest(-0.4, 1);
    EXPECT_EQ(flags.at(0), 1);
    // The top slot is reached this way too.
    flags.setNearest(1e7 + 0.4, 1);
    EXPECT_EQ(flags.at(ResidueFlagTable::kLast), 1);
}

TEST(RunState, StartsAtZero)
{
    auto state = std::make_unique<RunState>();
    EXPECT_EQ(state->M, 0);
    EXPECT_EQ(state->count1, 0);
    EXPECT_EQ(state->count2, 0);
    EXPECT_EQ(state->CommonCount, 0);
    EXPECT_EQ(state->terms1.at(3000), 0);
    EXPECT_EQ(state->ResidueFlags.at(1234567), 0);
}

} // namespace
} // namespace fibmod
