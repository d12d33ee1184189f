// SPDX-License-Identifier: MIT
// The window's fifteen text boxes: each control's boxes, their order and their names.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/window/field_access.h"

namespace fibmod {

// One control and how many boxes it has (Text2 has one, without an index).
struct ControlBoxes {
    Control control;
    std::string_view name;
    int count;
};

// Every control of text boxes, in the order of their slots.
inline constexpr std::array<ControlBoxes, 4> kControlBoxes{{
    {Control::Text1, "Text1", 7},
    {Control::Text2, "Text2", 1},
    {Control::Text3, "Text3", 3},
    {Control::Text4, "Text4", 4},
}};

// The number of text boxes.
inline constexpr std::size_t kTextBoxCount = 15;

// A box's position in 0 … kTextBoxCount − 1: Text1(0) … Text1(6), Text2,
// Text3(0) … Text3(2), Text4(0) … Text4(3). std::out_of_range for no such box.
constexpr std::size_t BoxSlot(FieldId field)
{
    std::size_t first = 0;
    for (const ControlBoxes& boxes : kControlBoxes) {
        if (boxes.control == field.control) {
            if (field.index < 0 || field.index >= boxes.count) throw std::out_of_range("no such text box");
            return first + static_cast<std::size_t>(field.index);
        }
        first += static_cast<std::size_t>(boxes.count);
    }
    throw std::out_of_range("no such text box");
}

// The box at a position; the inverse of BoxSlot.
constexpr FieldId BoxAtSlot(std::size_t slot)
{
    for (const ControlBoxes& boxes : kControlBoxes) {
        if (slot < static_cast<std::size_t>(boxes.count)) return {boxes.control, static_cast<int>(slot)};
        slot -= static_cast<std::size_t>(boxes.count);
    }
    throw std::out_of_range("no such text box");
}

// The box's control name: "Text1(4)", "Text2".
inline std::string BoxName(FieldId field)
{
    const ControlBoxes& boxes = kControlBoxes[static_cast<std::size_t>(field.control)];
    if (boxes.count == 1) return std::string(boxes.name);
    return std::string(boxes.name) + "(" + std::to_string(field.index) + ")";
}

} // namespace fibmod
