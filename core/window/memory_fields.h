// SPDX-License-Identifier: MIT
// A field access that keeps the texts in memory and follows the window's event chain.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/window/field_access.h"
#include "core/window/run_state.h"
#include "core/window/text_boxes.h"

namespace fibmod {

// Thrown by MemoryFields::endProgram, so that a caller sees the program end.
struct ProgramEnded {};

// A field access without a window: it keeps the texts, starts with the
// design-time inputs and follows the window's event chain (core/event_chain.h):
// a write that changes the modulus runs its change procedure, and so does a
// changed scroll value. Messages are kept instead of shown.
class MemoryFields : public FieldAccess {
public:
    explicit MemoryFields(RunState& state);

    std::string getText(FieldId field) override;
    void setText(FieldId field, std::string_view text) override;
    void appendText(FieldId field, std::string_view text) override;
    std::int16_t getScrollValue() override;
    void setScrollValue(std::int16_t value) override;
    void pumpEvents() override {}
    void showMessage(std::string_view text) override;
    [[noreturn]] void endProgram() override;

    std::vector<std::string> messages;

private:
    std::string& slot(FieldId field);

    RunState& state_;
    std::array<std::string, kTextBoxCount> texts_;
    std::int16_t scroll_;
};

} // namespace fibmod
