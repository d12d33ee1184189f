// SPDX-License-Identifier: MIT
// The window's text boxes as the computation sees them: the field-access interface.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fibmod {

// The text boxes the computation reads and writes. Text2 is the only one
// without an index.
enum class Control { Text1, Text2, Text3, Text4 };

struct FieldId {
    Control control;
    int index;

    friend constexpr bool operator==(FieldId, FieldId) = default;
};

constexpr FieldId Text1(int index) { return {Control::Text1, index}; }
constexpr FieldId Text2{Control::Text2, 0};
constexpr FieldId Text3(int index) { return {Control::Text3, index}; }
constexpr FieldId Text4(int index) { return {Control::Text4, index}; }

// Every output line ends with carriage return and line feed.
inline constexpr std::string_view kLineEnd = "\r\n";

// The computation's whole view of the window. Every operation is synchronous
// and returns only when done.
class FieldAccess {
public:
    virtual ~FieldAccess() = default;

    virtual std::string getText(FieldId field) = 0;
    // Replaces the text. When it differs from the old one, the field's change
    // procedure runs before this returns; an unchanged text raises nothing.
    virtual void setText(FieldId field, std::string_view text) = 0;
    // Same meaning as setText(field, getText(field) + text); implementations
    // may do it without copying the whole text.
    virtual void appendText(FieldId field, std::string_view text);

    // HScroll1's value. A changed value runs HScroll1_Change before this returns.
    virtual std::int16_t getScrollValue() = 0;
    virtual void setScrollValue(std::int16_t value) = 0;

    // Processes every pending window event; handlers may run nested inside.
    virtual void pumpEvents() = 0;
    // A modal box with one OK button and the application's title.
    virtual void showMessage(std::string_view text) = 0;
    // Ends the program at once; never returns.
    [[noreturn]] virtual void endProgram() = 0;
};

inline void FieldAccess::appendText(FieldId field, std::string_view text)
{
    std::string whole = getText(field);
    whole.append(text);
    setText(field, whole);
}

} // namespace fibmod
