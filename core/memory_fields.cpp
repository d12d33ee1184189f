// SPDX-License-Identifier: MIT
// The window's fields and change chain, kept in memory.
#include "core/memory_fields.h"

#include "core/event_chain.h"
#include "core/field_roles.h"
#include "core/inputs.h"
#include "core/number_rules.h"

namespace fibmod {

MemoryFields::MemoryFields(RunState& state)
    : state_(state), scroll_(static_cast<std::int16_t>(ValueOfText(kDesignTimeInputs.modulus)))
{
    for (const auto& [member, field] : kInputFields) slot(field) = kDesignTimeInputs.*member;
}

std::string& MemoryFields::slot(FieldId field)
{
    switch (field.control) {
    case Control::Text1: return text1_.at(static_cast<std::size_t>(field.index));
    case Control::Text2: return text2_;
    case Control::Text3: return text3_.at(static_cast<std::size_t>(field.index));
    case Control::Text4: return text4_.at(static_cast<std::size_t>(field.index));
    }
    return text2_;
}

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
