// SPDX-License-Identifier: MIT
// A field access without a window for the tests, recording what the procedures did.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/window/cycles.h"
#include "core/window/field_access.h"
#include "core/window/field_roles.h"
#include "core/window/memory_fields.h"
#include "core/window/run_state.h"

namespace fibmod::testing {

// The window-less field access with scripted hand-overs: actions can run
// inside pumpEvents().
class FakeFields : public MemoryFields {
public:
    using MemoryFields::MemoryFields;

    void pumpEvents() override;

    // Sets a text the way a user's edit does, with the same change procedure.
    void type(FieldId field, std::string_view text) { setText(field, text); }
    // Runs inside every pumpEvents(); gets the number of that hand-over (1, 2, …).
    std::function<void(long)> onPump;
    long pumps = 0;
};

// Puts the same coefficients and start values into both columns of any
// field access, the window's included.
void SetBothSequences(FieldAccess& fields, std::string_view r, std::string_view s, std::string_view a0,
                      std::string_view a1);

// The lines of a text ended by CR LF; a text that does not end with CR LF
// keeps its rest as a last line marked "<no line end>".
std::vector<std::string> Lines(std::string_view text);

} // namespace fibmod::testing
