// SPDX-License-Identifier: MIT
// The main window's controls as one table: boxes, buttons, captions, the scroll bar and the focus order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/window/field_access.h"
#include "core/window/text_boxes.h"

// The window's controls as they are laid out: positions and sizes in twips
// (15 twips make one logical pixel), captions, colours and fonts.
namespace fibmod::ui {

inline constexpr int kTwipsPerPixel = 15;

// Twips to logical pixels, rounded to the nearest pixel.
constexpr int Px(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

// The client area's width or height, in pixels, for an outer size in twips
// around a window frame of `frame` pixels: what the frame leaves, but never
// less than the layout's extent, so that every control stays in view.
constexpr int ClientExtent(int outerTwips, int frame, int layoutTwips)
{
    return Px(outerTwips) - frame > Px(layoutTwips) ? Px(outerTwips) - frame : Px(layoutTwips);
}

inline constexpr std::string_view kApplicationTitle = "Fibonaccifolgen";
inline constexpr std::string_view kWindowCaption =
    "Fibonaccifolgen. Suche gemeinsamer Glieder mod M.            a(n+1) = r*a(n) + s*a(n-1)";

// Client area before the load handler enlarges the window.
inline constexpr int kInitialClientWidth = 7425;
inline constexpr int kInitialClientHeight = 3195;
// Outer size set at load, width first.
inline constexpr int kOuterWidth = 8800;
inline constexpr int kOuterHeight = 10000;
// The controls reach this far right and down; the client area must show it all.
inline constexpr int kLayoutRight = 8055;
inline constexpr int kLayoutBottom = 9375;

inline constexpr std::string_view kTextFontFamily = "Times New Roman";
inline constexpr double kTextPointSize = 12.0;
inline constexpr double kModulusPointSize = 14.25;
inline constexpr std::string_view kDotFontFamily = "MS Sans Serif";
// The window's own font, which buttons and captions use: small enough for
// the longest caption to fit its label.
inline constexpr std::string_view kWindowFontFamily = "MS Sans Serif";
inline constexpr double kWindowPointSize = 8.0;
// Faces with the proportions of "MS Sans Serif" where it is missing.
inline constexpr std::array<std::string_view, 2> kSansSubstitutes = {"Liberation Sans", "Arial"};
inline constexpr double kDotPointSize = 18.0;

struct Rect {
    int left;
    int top;
    int width;
    int height;
};

enum class Align { Left, Centre, Right };
enum class Lines { Single, Multi };

// A text box; its object name is its field's (BoxName).
struct TextBoxEntry {
    FieldId field;
    Rect rect;
    std::uint32_t background; // 0xRRGGBB
    Align align;
    Lines lines;
    std::string_view text;
    std::string_view accessibleName;
};

struct ButtonEntry {
    std::string_view name;
    std::string_view caption;
    Rect rect;
    std::uint32_t face; // 0xRRGGBB; kStandardFace keeps the platform's look
    std::string_view toolTip;
};
inline constexpr std::uint32_t kStandardFace = 0xFFFFFFFFu;

enum class LabelKind { Caption, Sign, Dot };

struct LabelEntry {
    std::string_view name;
    std::string_view caption;
    Rect rect;
    LabelKind kind;
    // The box a caption names (its buddy), none for none; signs and dots
    // are decoration that assistive technology does not meet.
    std::optional<FieldId> buddy = {};
};

struct ScrollBarEntry {
    std::string_view name;
    Rect rect;
    int minimum;
    int maximum;
    int value;
    std::string_view accessibleName;
};

extern const std::array<TextBoxEntry, kTextBoxCount> kTextBoxes;
extern const std::array<ButtonEntry, 4> kButtons;
extern const std::array<LabelEntry, 15> kLabels;
extern const ScrollBarEntry kScrollBar;
// Object names in the order the keyboard focus visits them.
extern const std::array<std::string_view, 20> kFocusChain;

} // namespace fibmod::ui
