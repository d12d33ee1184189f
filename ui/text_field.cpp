// SPDX-License-Identifier: MIT
// A text box and the exact text it holds, line breaks kept as CR LF.
#include "ui/text_field.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>

namespace fibmod::ui {

namespace {

// Qt's multi-line boxes hand line breaks back as a bare line feed.
std::string Kept(const QString& shown)
{
    const std::string lines = shown.toStdString();
    std::string text;
    text.reserve(lines.size() + lines.size() / 8);
    for (char c : lines) {
        if (c == '\n') text.push_back('\r');
        text.push_back(c);
    }
    return text;
}

} // namespace

TextField::TextField(QLineEdit* box, std::string text) : line_(box), kept_(std::move(text))
{
    line_->setText(ToQString(kept_));
}

TextField::TextField(QPlainTextEdit* box, std::string text)
    : multi_(box), kept_(std::move(text)), shown_(kept_.size())
{
    multi_->setPlainText(ToQString(kept_));
}

QWidget* TextField::widget() const
{
    if (line_ != nullptr) return line_;
    return multi_;
}

bool TextField::replace(std::string_view text)
{
    if (kept_ == text) return false;
    kept_.assign(text);
    replaced_ = true;
    stale_ = true;
    return true;
}

bool TextField::append(std::string_view text)
{
    if (text.empty()) return false;
    kept_.append(text);
    stale_ = true;
    return true;
}

bool TextField::takeOverEdit()
{
    std::string edited = line_ != nullptr ? line_->text().toStdString() : Kept(multi_->toPlainText());
    shown_ = edited.size();
    replaced_ = false;
    stale_ = false;
    if (edited == kept_) return false;
    kept_ = std::move(edited);
    return true;
}

void TextField::refresh()
{
    if (!stale_) return;
    const QSignalBlocker quiet(widget());
    if (line_ != nullptr) {
        line_->setText(ToQString(kept_));
    } else {
        // Qt shows CR LF as one line break, but a CR at the very end may be
        // the first half of a line end still to come: it waits.
        std::size_t end = kept_.size();
        if (end > 0 && kept_[end - 1] == '\r') --end;
        const std::string_view ready(kept_.data(), end);
        if (replaced_ || shown_ > end) {
            multi_->setPlainText(ToQString(ready));
        } else if (shown_ < end) {
            QTextCursor tail(multi_->document());
            tail.movePosition(QTextCursor::End);
            tail.insertText(ToQString(ready.substr(shown_)));
        }
        shown_ = end;
    }
    replaced_ = false;
    stale_ = false;
}

void TextField::restore()
{
    replaced_ = true;
    stale_ = true;
    refresh();
}

} // namespace fibmod::ui
