#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/cycles.h"
#include "core/field_access.h"
#include "core/run_state.h"

namespace fibmod::testing {

// Thrown by FakeFields::endProgram so that a test can see the program end.
struct ProgramEnded {};

// A field access without a window. It keeps the texts, starts with the
// window's design-time inputs and behaves like the window's change chain:
// a write that changes Text2 runs the reset and then the show, a changed
// scroll value writes Text2. Scripted actions can run inside pumpEvents().
class FakeFields : public FieldAccess {
public:
    explicit FakeFields(RunState& state);

    std::string getText(FieldId field) override;
    void setText(FieldId field, std::string_view text) override;
    void appendText(FieldId field, std::string_view text) override;
    std::int16_t getScrollValue() override;
    void setScrollValue(std::int16_t value) override;
    void pumpEvents() override;
    void showMessage(std::string_view text) override;
    [[noreturn]] void endProgram() override;

    // Sets a text the way a user's edit does, with the same change procedure.
    void type(FieldId field, std::string_view text) { setText(field, text); }
    // Runs inside every pumpEvents(); gets the number of that hand-over (1, 2, …).
    std::function<void(long)> onPump;
    long pumps = 0;
    std::vector<std::string> messages;

private:
    std::string& slot(FieldId field);

    RunState& state_;
    std::array<std::string, 7> text1_;
    std::string text2_;
    std::array<std::string, 3> text3_;
    std::array<std::string, 4> text4_;
    std::int16_t scroll_ = 2;
};

// Puts the same coefficients and start values into both columns of any
// field access, the window's included.
void SetBothSequences(FieldAccess& fields, std::string_view r, std::string_view s, std::string_view a0,
                      std::string_view a1);

// The lines of a text ended by CR LF; a text that does not end with CR LF
// keeps its rest as a last line marked "<no line end>".
std::vector<std::string> Lines(std::string_view text);

} // namespace fibmod::testing
