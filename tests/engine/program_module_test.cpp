// SPDX-License-Identifier: MIT
// Loading the program's modules: the lanes' loop from its module, and what goes wrong.
#include "core/engine/program_module.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "core/engine/lanes/lane_rows.h"
#include "core/engine/lanes/lane_walk.h"

namespace {

using ::testing::HasSubstr;

TEST(ProgramModuleTest, TheLanesModuleRunsTheSameLoopAsTheLinkedOne)
{
    const auto& loaded =
        fibmod::ProgramModuleEntryAs<fibmod::lanes::LaneRowsEntry>(FIBMOD_LANES_MODULE, fibmod::lanes::kLaneRowsModuleEntry);
    EXPECT_STREQ(loaded.targetName(), fibmod::lanes::LaneRowsHere().targetName());

    // The design-time sequence 6, -1 from 1, 1 modulo 10007, walked by both.
    const fibmod::lanes::LaneSequence seq{10007, 6, 10006, 1, 1};
    const fibmod::lanes::RowStart start = fibmod::lanes::StartRows(seq, 1'000'000);
    fibmod::lanes::ResidueFlags viaModule;
    fibmod::lanes::ResidueFlags linked;
    viaModule.reset(seq.M);
    linked.reset(seq.M);
    const fibmod::lanes::LaneWalk a = loaded.walkRows(start, viaModule.data(), viaModule.bytes(), {});
    const fibmod::lanes::LaneWalk b = fibmod::lanes::LaneRowsHere().walkRows(start, linked.data(), linked.bytes(), {});
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.end, fibmod::lanes::LaneWalk::End::Closed);
    // The same residues: as many in common as each holds.
    EXPECT_EQ(CommonCount(viaModule, linked), CommonCount(linked, linked));
    EXPECT_EQ(CommonCount(viaModule, viaModule), CommonCount(linked, linked));
}

TEST(ProgramModuleTest, AMissingModuleOrEntryIsAnErrorNamingTheModule)
{
    try {
        fibmod::ProgramModuleEntry("fibmod-no-such-module.so", "entry");
        FAIL() << "no error";
    } catch (const fibmod::ProgramModuleMissing& error) {
        EXPECT_THAT(error.what(), HasSubstr("fibmod-no-such-module.so"));
    }
    try {
        fibmod::ProgramModuleEntry(FIBMOD_LANES_MODULE, "no_such_entry");
        FAIL() << "no error";
    } catch (const fibmod::ProgramModuleMissing& error) {
        EXPECT_THAT(error.what(), HasSubstr("fibmod-lanes.so"));
        EXPECT_THAT(error.what(), HasSubstr("no_such_entry"));
    }
}

} // namespace
