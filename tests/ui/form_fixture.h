// SPDX-License-Identifier: MIT
// The main window under test, offscreen, with helpers to type and click.
#pragma once

#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QLineEdit>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "core/engine/inputs.h"
#include "core/window/field_roles.h"
#include "core/window/input_fields.h"
#include "core/window/run_state.h"
#include "tests/support/fake_fields.h"
#include "ui/form1.h"

// A fresh window per test, its message boxes answered by the test.
class FormTest : public ::testing::Test {
protected:
    explicit FormTest(Form1Pacing pacing = {}) : form(pacing)
    {
        form.setMessageHook([this](const QString& text) {
            messages << text;
            if (onMessage) onMessage(text);
        });
    }

    template <class Widget = QWidget> Widget* control(const QString& name)
    {
        auto* widget = form.findChild<Widget*>(name, Qt::FindDirectChildrenOnly);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    // The design-time inputs of both columns replaced by one set.
    void setBothSequences(const char* r, const char* s, const char* a0, const char* a1)
    {
        fibmod::testing::SetBothSequences(form, r, s, a0, a1);
    }

    // What a user does.
    void click(const char* button) { control<QPushButton>(QString::fromUtf8(button))->click(); }
    void scrollTo(int value) { control<QScrollBar>(QStringLiteral("HScroll1"))->setValue(value); }
    int scrollValue() { return control<QScrollBar>(QStringLiteral("HScroll1"))->value(); }
    void typeModulus(const char* text)
    {
        auto* modulus = control<QLineEdit>(QStringLiteral("Text2"));
        modulus->selectAll();
        QTest::keyClick(modulus, Qt::Key_Delete);
        QTest::keyClicks(modulus, text);
    }

    // Runs `action` inside the next hand-over to the event loop.
    template <class Action> void duringNextHandOver(Action action)
    {
        QMetaObject::invokeMethod(&form, action, Qt::QueuedConnection);
    }

    std::string text(fibmod::FieldId field) { return form.getText(field); }

    Form1 form;
    QStringList messages;
    std::function<void(const QString&)> onMessage;
};

// The six outputs of a window or of a run without one.
struct Outputs {
    std::string listing1, listing2, common, length1, length2, count;
    friend bool operator==(const Outputs&, const Outputs&) = default;
};

inline Outputs OutputsOf(fibmod::FieldAccess& fields)
{
    using namespace fibmod;
    return {.listing1 = fields.getText(kSequence1Fields.listing),
            .listing2 = fields.getText(kSequence2Fields.listing),
            .common = fields.getText(kCommonMembersField),
            .length1 = fields.getText(kSequence1Fields.length),
            .length2 = fields.getText(kSequence2Fields.length),
            .count = fields.getText(kCommonCountField)};
}

// What a run without a window gives for the window's present inputs and the
// modulus `m`: the window's outputs are compared against it.
inline Outputs HeadlessOutputs(Form1& form, int m)
{
    auto state = std::make_unique<fibmod::RunState>();
    fibmod::testing::FakeFields fields(*state);
    // The modulus is the last input: its write runs the computation.
    for (const auto& [member, field] : fibmod::kInputFields)
        fields.setText(field, field == fibmod::kModulusField ? std::to_string(m) : form.getText(field));
    return OutputsOf(fields);
}

// What a box's widget shows, with its line breaks written as the kept texts
// write them (CR LF).
inline std::string ShownAsKept(QWidget* box)
{
    if (auto* line = qobject_cast<QLineEdit*>(box)) return line->text().toStdString();
    std::string kept;
    for (char c : qobject_cast<QPlainTextEdit*>(box)->toPlainText().toStdString()) {
        if (c == '\n') kept.push_back('\r');
        kept.push_back(c);
    }
    return kept;
}

// The name of a test case given by a control's object name: its letters and
// digits ("Text1(0)" gives "Text10").
inline std::string ControlCaseName(const ::testing::TestParamInfo<const char*>& info)
{
    std::string name;
    for (const char* c = info.param; *c != '\0'; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name.push_back(*c);
    return name;
}

// The number of CR LF line ends in a text.
inline std::size_t LineCount(const std::string& text)
{
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
    return lines;
}

// Lines of a text ended by CR LF each.
inline std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}
