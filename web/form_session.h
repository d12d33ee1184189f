// SPDX-License-Identifier: MIT
// One run of the form on the page: the window's model in memory, driven by the page's events.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/window/memory_fields.h"
#include "core/window/run_state.h"

namespace fibmod::web {

// The page's field access is the in-memory one: the model writes the boxes'
// texts here, and after every action the page shows them. Each action runs
// to its end before it returns, as a window procedure does; no exception
// leaves it. A run-time error stops the action and becomes a message, as the
// window reports it; "ende" ends the run, after which every action is ignored.
class FormSession {
public:
    // Starts the run as the window loads: the design-time inputs taken over.
    FormSession();

    // A user's edit that leaves box `slot` (0 … 14, see BoxSlot) holding
    // `text`; the modulus box then runs its change procedure.
    void edit(int slot, std::string_view text);
    // The scroll bar moved to `value`; its change procedure runs when it differs.
    void scroll(int value);
    // A click on CommandN, N = 1 … 4.
    void click(int command);

    // Box `slot`'s text, lines ended by CR LF; empty for no such box.
    std::string text(int slot);
    std::int16_t scrollValue();
    // The messages of the actions since the last call, in order; emptied.
    std::vector<std::string> takeMessages();
    // True once "ende" ended the run.
    bool ended() const { return ended_; }

private:
    template <class Action> void run(Action&& action);

    std::unique_ptr<RunState> state_;
    MemoryFields fields_;
    bool ended_ = false;
};

} // namespace fibmod::web
