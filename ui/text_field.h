// SPDX-License-Identifier: MIT
// One text box of the main window with the exact text it holds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace fibmod::ui {

// The program keeps its texts in UTF-8.
inline QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// One text box: the exact text last written by code or typed by the user
// (CR LF line ends included, which Qt's boxes would drop), and the widget
// that shows it. Writes from code only mark the widget stale; refresh()
// brings it up to date, appending just the new tail when the text has only
// grown since the widget was last written.
class TextField {
public:
    TextField(QLineEdit* box, std::string text);
    TextField(QPlainTextEdit* box, std::string text);

    QWidget* widget() const;
    const std::string& text() const { return kept_; }
    bool stale() const { return stale_; }

    // Both return true when the text changed.
    bool replace(std::string_view text);
    bool append(std::string_view text);
    // Takes the widget's text over after a user's edit; true when it changed.
    bool takeOverEdit();

    // Writes the kept text into the widget if it is stale. Raises no signal.
    void refresh();
    // Writes the kept text into the widget, undoing an edit that is not to be
    // taken over. Raises no signal.
    void restore();

private:
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;
    std::string kept_;
    // Bytes of kept_ the multi-line widget shows; valid unless replaced_.
    std::size_t shown_ = 0;
    bool replaced_ = false;
    bool stale_ = false;
};

} // namespace fibmod::ui
