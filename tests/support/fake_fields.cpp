#include "tests/support/fake_fields.h"

#include "core/number_rules.h"

namespace fibmod::testing {

FakeFields::FakeFields(RunState& state)
    : state_(state),
      text1_{"", "", "1", "1", "1", "1", ""},
      text2_("2"),
      text4_{"-1", "6", "-1", "4"}
{
}

std::string& FakeFields::slot(FieldId field)
{
    switch (field.control) {
    case Control::Text1: return text1_.at(static_cast<std::size_t>(field.index));
    case Control::Text2: return text2_;
    case Control::Text3: return text3_.at(static_cast<std::size_t>(field.index));
    case Control::Text4: return text4_.at(static_cast<std::size_t>(field.index));
    }
    return text2_;
}

std::string FakeFields::getText(FieldId field) { return slot(field); }

void FakeFields::setText(FieldId field, std::string_view text)
{
    std::string& kept = slot(field);
    if (kept == text) return;
    kept = text;
    if (field == Text2) {
        ResetAndTakeOver(state_, *this);
        ShowCycles(state_, *this);
    }
}

void FakeFields::appendText(FieldId field, std::string_view text)
{
    if (text.empty()) return;
    if (field == Text2) {
        FieldAccess::appendText(field, text);
        return;
    }
    slot(field).append(text);
}

std::int16_t FakeFields::getScrollValue() { return scroll_; }

void FakeFields::setScrollValue(std::int16_t value)
{
    if (value == scroll_) return;
    scroll_ = value;
    setText(Text2, IntegerText(value));
}

void FakeFields::pumpEvents()
{
    ++pumps;
    if (onPump) onPump(pumps);
}

void FakeFields::showMessage(std::string_view text) { messages.emplace_back(text); }

void FakeFields::endProgram() { throw ProgramEnded{}; }

void SetBothSequences(FieldAccess& fields, std::string_view r, std::string_view s, std::string_view a0,
                      std::string_view a1)
{
    for (int column : {0, 2}) {
        fields.setText(Text4(column), s);
        fields.setText(Text4(column + 1), r);
    }
    for (int first : {2, 4}) {
        fields.setText(Text1(first), a0);
        fields.setText(Text1(first + 1), a1);
    }
}

std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find(kLineEnd);
        if (end == std::string_view::npos) {
            lines.emplace_back(std::string(text) + "<no line end>");
            break;
        }
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(end + kLineEnd.size());
    }
    return lines;
}

} // namespace fibmod::testing
