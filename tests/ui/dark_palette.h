// SPDX-License-Identifier: MIT
// A dark colour scheme for the window's tests.
#pragma once

#include <QColor>
#include <QPalette>

namespace fibmod::testing {

// A dark colour scheme, light text on dark ground, whose selection is light
// too, as some themes have it.
inline QPalette DarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0));
    dark.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    dark.setColor(QPalette::Text, QColor(0xF0, 0xF0, 0xF0));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, QColor(0xF0, 0xF0, 0xF0));
    dark.setColor(QPalette::Highlight, QColor(0xB0, 0xC4, 0xDE));
    dark.setColor(QPalette::HighlightedText, QColor(0xF8, 0xF8, 0xF8));
    return dark;
}

} // namespace fibmod::testing
