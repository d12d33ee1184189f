// SPDX-License-Identifier: MIT
// The engine's entry for the page: the form's run and the window's table of controls, through embind.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "core/engine/inputs.h"
#include "core/window/input_fields.h"
#include "core/window/text_boxes.h"
#include "ui/control_table.h"
#include "web/form_session.h"

namespace fibmod::web {

namespace {

using emscripten::val;

// The key under which the address keeps each input ("#r1=6&s1=-1&m=12").
constexpr std::array<std::pair<std::string_view InputTexts::*, std::string_view>, 9> kAddressKeys{{
    {&InputTexts::s1, "s1"},
    {&InputTexts::r1, "r1"},
    {&InputTexts::first1, "first1"},
    {&InputTexts::second1, "second1"},
    {&InputTexts::s2, "s2"},
    {&InputTexts::r2, "r2"},
    {&InputTexts::first2, "first2"},
    {&InputTexts::second2, "second2"},
    {&InputTexts::modulus, "m"},
}};

// A JavaScript string of UTF-8 text (embind reads std::string as UTF-8).
val Text(std::string_view text) { return val(std::string(text)); }

val Rect(const ui::Rect& rect)
{
    val out = val::object();
    out.set("left", rect.left);
    out.set("top", rect.top);
    out.set("width", rect.width);
    out.set("height", rect.height);
    return out;
}

// The id a control carries on the page: "Text1(4)" is "Text1-4".
std::string PageId(std::string_view name)
{
    std::string id(name);
    const std::size_t open = id.find('(');
    if (open == std::string::npos) return id;
    return id.substr(0, open) + "-" + id.substr(open + 1, id.size() - open - 2);
}

const char* AlignName(ui::Align align)
{
    switch (align) {
    case ui::Align::Left: return "left";
    case ui::Align::Centre: return "center";
    case ui::Align::Right: return "right";
    }
    return "left";
}

// Every control of the window with what the page needs to draw it: the text
// boxes by slot, the buttons, the captions, the scroll bar, the focus order,
// the fonts, and the inputs' address keys in the order they are typed.
val ControlTable()
{
    val table = val::object();
    val boxes = val::array();
    for (const ui::TextBoxEntry& entry : ui::kTextBoxes) {
        val box = val::object();
        const std::string name = BoxName(entry.field);
        box.set("id", PageId(name));
        box.set("name", Text(name));
        box.set("slot", static_cast<int>(BoxSlot(entry.field)));
        box.set("rect", Rect(entry.rect));
        box.set("background", static_cast<double>(entry.background));
        box.set("align", AlignName(entry.align));
        box.set("multiLine", entry.lines == ui::Lines::Multi);
        box.set("modulus", entry.field == kModulusField);
        box.set("accessibleName", Text(entry.accessibleName));
        boxes.call<void>("push", box);
    }
    table.set("boxes", boxes);
    val buttons = val::array();
    for (const ui::ButtonEntry& entry : ui::kButtons) {
        val button = val::object();
        button.set("id", PageId(entry.name));
        button.set("command", entry.name.back() - '0');
        button.set("caption", Text(entry.caption));
        button.set("rect", Rect(entry.rect));
        button.set("face", entry.face == ui::kStandardFace ? -1.0 : static_cast<double>(entry.face));
        button.set("toolTip", Text(entry.toolTip));
        buttons.call<void>("push", button);
    }
    table.set("buttons", buttons);
    val labels = val::array();
    for (const ui::LabelEntry& entry : ui::kLabels) {
        val label = val::object();
        label.set("caption", Text(entry.caption));
        label.set("rect", Rect(entry.rect));
        label.set("kind", entry.kind == ui::LabelKind::Caption ? "caption"
                          : entry.kind == ui::LabelKind::Sign  ? "sign"
                                                               : "dot");
        label.set("for", entry.buddy ? PageId(BoxName(*entry.buddy)) : std::string());
        labels.call<void>("push", label);
    }
    table.set("labels", labels);
    val scroll = val::object();
    scroll.set("id", PageId(ui::kScrollBar.name));
    scroll.set("rect", Rect(ui::kScrollBar.rect));
    scroll.set("minimum", ui::kScrollBar.minimum);
    scroll.set("maximum", ui::kScrollBar.maximum);
    scroll.set("accessibleName", Text(ui::kScrollBar.accessibleName));
    table.set("scrollBar", scroll);
    val focus = val::array();
    for (std::string_view name : ui::kFocusChain) focus.call<void>("push", PageId(name));
    table.set("focusChain", focus);
    table.set("title", Text(ui::kApplicationTitle));
    table.set("caption", Text(ui::kWindowCaption));
    table.set("twipsPerPixel", ui::kTwipsPerPixel);
    table.set("layoutRight", ui::kLayoutRight);
    table.set("layoutBottom", ui::kLayoutBottom);
    table.set("textPointSize", ui::kTextPointSize);
    table.set("modulusPointSize", ui::kModulusPointSize);
    table.set("windowPointSize", ui::kWindowPointSize);
    table.set("dotPointSize", ui::kDotPointSize);
    val inputs = val::array();
    for (const auto& [member, field] : kInputFields) {
        for (const auto& [keyed, key] : kAddressKeys) {
            if (keyed != member) continue;
            val input = val::object();
            input.set("key", Text(key));
            input.set("slot", static_cast<int>(BoxSlot(field)));
            input.set("designTime", Text(kDesignTimeInputs.*member));
            inputs.call<void>("push", input);
        }
    }
    table.set("inputs", inputs);
    return table;
}

void Edit(FormSession& session, int slot, const std::string& text) { session.edit(slot, text); }

val Texts(FormSession& session)
{
    val texts = val::array();
    for (std::size_t slot = 0; slot < kTextBoxCount; ++slot)
        texts.call<void>("push", Text(session.text(static_cast<int>(slot))));
    return texts;
}

val TakeMessages(FormSession& session)
{
    val messages = val::array();
    for (const std::string& message : session.takeMessages()) messages.call<void>("push", Text(message));
    return messages;
}

int ScrollValue(FormSession& session) { return session.scrollValue(); }

} // namespace

EMSCRIPTEN_BINDINGS(fibmod_page)
{
    emscripten::class_<FormSession>("FormSession")
        .constructor<>()
        .function("edit", &Edit)
        .function("scroll", &FormSession::scroll)
        .function("click", &FormSession::click)
        .function("texts", &Texts)
        .function("scrollValue", &ScrollValue)
        .function("takeMessages", &TakeMessages)
        .function("ended", &FormSession::ended);
    emscripten::function("controlTable", &ControlTable);
}

} // namespace fibmod::web
