// SPDX-License-Identifier: MIT
// The tests' field access without a window, and helpers that fill and read its boxes.
#include "tests/support/fake_fields.h"

#include "core/window/field_roles.h"

namespace fibmod::testing {

void FakeFields::pumpEvents()
{
    ++pumps;
    if (onPump) onPump(pumps);
}

void SetBothSequences(FieldAccess& fields, std::string_view r, std::string_view s, std::string_view a0,
                      std::string_view a1)
{
    for (const SequenceFieldIds& column : {kSequence1Fields, kSequence2Fields}) {
        fields.setText(column.s, s);
        fields.setText(column.r, r);
        fields.setText(column.first, a0);
        fields.setText(column.second, a1);
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
