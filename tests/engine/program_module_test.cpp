// SPDX-License-Identifier: MIT
// Loading the program's modules: what goes wrong when a module or its entry is missing.
#include "core/engine/program_module.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

TEST(ProgramModuleTest, AMissingModuleOrEntryIsAnErrorNamingTheModule)
{
    try {
        fibmod::ProgramModuleEntry("fibmod-no-such-module.so", "entry");
        FAIL() << "no error";
    } catch (const fibmod::ProgramModuleMissing& error) {
        EXPECT_THAT(error.what(), HasSubstr("fibmod-no-such-module.so"));
    }
#ifdef FIBMOD_PERIOD_MODULE
    try {
        fibmod::ProgramModuleEntry(FIBMOD_PERIOD_MODULE, "no_such_entry");
        FAIL() << "no error";
    } catch (const fibmod::ProgramModuleMissing& error) {
        EXPECT_THAT(error.what(), HasSubstr("fibmod-period.so"));
        EXPECT_THAT(error.what(), HasSubstr("no_such_entry"));
    }
#endif
}

} // namespace
