#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

#include "form1.h"

// A fresh window per test, its message boxes answered by the test.
class FormTest : public ::testing::Test {
protected:
    FormTest()
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
        for (int column : {0, 2}) {
            form.setText(fibmod::Text4(column), s);
            form.setText(fibmod::Text4(column + 1), r);
        }
        for (int first : {2, 4}) {
            form.setText(fibmod::Text1(first), a0);
            form.setText(fibmod::Text1(first + 1), a1);
        }
    }

    Form1 form;
    QStringList messages;
    std::function<void(const QString&)> onMessage;
};

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
