// SPDX-License-Identifier: MIT
// The main window's controls: where each sits, what it shows and what it is called.
#include "ui/control_table.h"

#include <stdexcept>

#include "core/engine/inputs.h"
#include "core/engine/modulus_range.h"
#include "core/window/input_fields.h"

namespace fibmod::ui {

namespace {
constexpr std::uint32_t kCoefficient = 0xC0C0FF;
constexpr std::uint32_t kValue = 0xC0FFFF;
constexpr std::uint32_t kResult = 0xE0E0E0;
constexpr std::uint32_t kModulus = 0xFFFF80;
} // namespace

const std::array<TextBoxEntry, kTextBoxCount> kTextBoxes{{
    {Text4(0), {720, 720, 495, 495}, kCoefficient, Align::Centre, Lines::Single, DesignTimeText(Text4(0)), "s Folge 1"},
    {Text1(4), {1560, 720, 495, 495}, kValue, Align::Right, Lines::Single, DesignTimeText(Text1(4)), "Startwert a(n-1) Folge 1"},
    {Text4(1), {720, 1200, 495, 495}, kCoefficient, Align::Centre, Lines::Single, DesignTimeText(Text4(1)), "r Folge 1"},
    {Text1(5), {1560, 1200, 495, 495}, kValue, Align::Right, Lines::Single, DesignTimeText(Text1(5)), "Startwert a(n) Folge 1"},
    {Text1(1), {720, 1920, 1335, 6615}, kValue, Align::Right, Lines::Multi, "", "Zyklus Folge 1"},
    {Text3(0), {720, 8640, 1335, 375}, kResult, Align::Centre, Lines::Single, "", "Zykellänge Folge 1"},
    {Text4(2), {2640, 720, 495, 495}, kCoefficient, Align::Centre, Lines::Single, DesignTimeText(Text4(2)), "s Folge 2"},
    {Text1(2), {3480, 720, 495, 495}, kValue, Align::Right, Lines::Single, DesignTimeText(Text1(2)), "Startwert a(n-1) Folge 2"},
    {Text4(3), {2640, 1200, 495, 495}, kCoefficient, Align::Centre, Lines::Single, DesignTimeText(Text4(3)), "r Folge 2"},
    {Text1(3), {3480, 1200, 495, 495}, kValue, Align::Right, Lines::Single, DesignTimeText(Text1(3)), "Startwert a(n) Folge 2"},
    {Text1(0), {2640, 1920, 1335, 6615}, kValue, Align::Right, Lines::Multi, "", "Zyklus Folge 2"},
    {Text3(1), {2640, 8640, 1335, 375}, kResult, Align::Centre, Lines::Single, "", "Zykellänge Folge 2"},
    {Text2, {4680, 720, 855, 555}, kModulus, Align::Centre, Lines::Single, DesignTimeText(Text2), "Modul"},
    {Text1(6), {4680, 2280, 3375, 6255}, kValue, Align::Left, Lines::Multi, "", "Gemeinsame Glieder"},
    {Text3(2), {4680, 8640, 1335, 375}, kResult, Align::Centre, Lines::Single, "", "Anzahl gemeinsamer Glieder"},
}};

const std::array<ButtonEntry, 4> kButtons{{
    {"Command1", "Zeigen", {6720, 720, 855, 495}, 0x80FF80, ""},
    {"Command3", "cls", {7560, 720, 495, 495}, 0x8080FF, "Ausgabefelder löschen"},
    {"Command4", "Nächster: Nur Rest 1 gemeinsam", {4680, 1320, 3375, 375}, kStandardFace, ""},
    {"Command2", "ende", {6960, 8640, 1095, 375}, 0xFF0000, ""},
}};

const std::array<LabelEntry, 15> kLabels{{
    {"Label2(0)", "Def.  Folge 1", {720, 360, 1095, 255}, LabelKind::Caption, Text4(0)},
    {"Label2(1)", "Def.   Folge 2", {2640, 360, 1095, 255}, LabelKind::Caption, Text4(2)},
    {"Label2(2)", "Modul", {4680, 360, 1095, 255}, LabelKind::Caption, Text2},
    {"Label2(3)", "Gemeinsames Folgenglied x  bei...", {4680, 1920, 2895, 255}, LabelKind::Caption, Text1(6)},
    {"Label2(4)", "Zykellänge", {720, 9120, 1095, 255}, LabelKind::Caption, Text3(0)},
    {"Label2(5)", "Zykellänge", {2640, 9120, 1095, 255}, LabelKind::Caption, Text3(1)},
    {"Label2(6)", "Anzahl gemeinsamer Glieder", {4680, 9120, 2175, 255}, LabelKind::Caption, Text3(2)},
    {"Label1(0)", ".", {1320, 600, 255, 375}, LabelKind::Dot},
    {"Label1(1)", ".", {1320, 1080, 255, 375}, LabelKind::Dot},
    {"Label1(2)", ".", {3240, 600, 255, 375}, LabelKind::Dot},
    {"Label1(3)", ".", {3240, 1080, 255, 375}, LabelKind::Dot},
    {"Label3", "+", {480, 1320, 135, 255}, LabelKind::Sign},
    {"Label4", "+", {2400, 1320, 135, 255}, LabelKind::Sign},
    {"Label5", "=", {480, 2040, 135, 255}, LabelKind::Sign},
    {"Label6", "=", {2400, 2040, 135, 255}, LabelKind::Sign},
}};

const ScrollBarEntry kScrollBar{
    "HScroll1", {5640, 720, 855, 495}, kModulusMin, kModulusMax, 2, "Modul einstellen"};

const std::array<std::string_view, 20> kFocusChain{
    "Text1(0)", "Text1(1)", "Text1(2)", "Text1(3)", "Text1(4)", "Text1(5)", "Text2",
    "Command1", "Command2", "Command3", "Text1(6)", "Text3(0)", "Text3(1)", "Text3(2)",
    "HScroll1", "Command4", "Text4(0)", "Text4(1)", "Text4(2)", "Text4(3)",
};

} // namespace fibmod::ui
