// SPDX-License-Identifier: MIT
// How the program's windows meet assistive technology: windows as windows, decoration hidden.
#pragma once

class QWidget;

namespace fibmod::ui {

// Makes `window` a window (a frame) to assistive technology rather than a
// filler; its decorative children (MarkDecorative) are left out of what it
// lists. Call before the window is first shown.
void PresentAsWindow(QWidget& window);

// Marks `widget` as decoration (a "." or "+" drawn between boxes) that
// assistive technology does not meet: its window leaves it out, and it
// reports itself invisible.
void MarkDecorative(QWidget& widget);

} // namespace fibmod::ui
