// SPDX-License-Identifier: MIT
// The window's fields and change chain, kept in memory.
#include "core/window/memory_fields.h"

#include "core/engine/inputs.h"
#include "core/engine/number_rules.h"
#include "core/window/event_chain.h"
#include "core/window/field_roles.h"
#include "core/window/input_fields.h"

namespace fibmod {

MemoryFields::MemoryFields(RunState& state)
    : state_(state), scroll_(static_cast<std::int16_t>(ValueOfText(kDesignTimeInputs.modulus)))
{
    for (const auto& [member, field] : kInputFields) slot(field) = kDesignTimeInputs.*member;
}

std::string& MemoryFields::slot(FieldId field) { return texts_[BoxSlot(field)]; }

std::string MemoryFields::getText(FieldId field) { return slot(field); }

void MemoryFields::setText(FieldId field, std::string_view text)
{
    std::string& kept = slot(field);
    if (kept == text) return;
    kept = text;
    if (field == kModulusField) ModulusChanged(state_, *this);
}

void MemoryFields::appendText(FieldId field, std::string_view text)
{
    if (text.empty()) return;
    if (field == kModulusField) {
        FieldAccess::appendText(field, text);
        return;
    }
    slot(field).append(text);
}

std::int16_t MemoryFields::getScrollValue() { return scroll_; }

void MemoryFields::setScrollValue(std::int16_t value)
{
    if (value == scroll_) return;
    scroll_ = value;
    ScrollChanged(*this);
}

void MemoryFields::showMessage(std::string_view text) { messages.emplace_back(text); }

void MemoryFields::endProgram() { throw ProgramEnded{}; }

} // namespace fibmod
