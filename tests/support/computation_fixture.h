// SPDX-License-Identifier: MIT
// The window's procedures run against a field access without a window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/engine/run_time_error.h"
#include "core/window/cycles.h"
#include "core/window/run_state.h"
#include "tests/support/fake_fields.h"

namespace fibmod::testing {

// A run state with a window-less field access at its design-time inputs,
// taken over once as at the program's start.
class ComputationTest : public ::testing::Test {
protected:
    ComputationTest() { ResetAndTakeOver(st, fields); }

    std::vector<std::string> lines(FieldId field) { return Lines(fields.getText(field)); }
    std::string text(FieldId field) { return fields.getText(field); }
    // The last line of a field; a failure of the test, and "", when it has none.
    std::string lastLine(FieldId field)
    {
        const std::vector<std::string> all = lines(field);
        if (all.empty()) {
            ADD_FAILURE() << "the field holds no line";
            return {};
        }
        return all.back();
    }

    // Runs `action` and returns the number of the run-time error it raised, or 0.
    template <class Action>
    int errorNumberOf(Action&& action)
    {
        try {
            action();
        } catch (const RunTimeError& e) {
            return e.number();
        }
        return 0;
    }

    std::unique_ptr<RunState> state = std::make_unique<RunState>();
    RunState& st = *state;
    FakeFields fields{st};
};

} // namespace fibmod::testing
