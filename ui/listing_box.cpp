// SPDX-License-Identifier: MIT
// The listing box: lines broken anywhere, no undo history, and nothing but text pasted.
#include "ui/listing_box.h"

#include <QMimeData>
#include <QTextDocument>
#include <QTextOption>

namespace fibmod::ui {

ListingBox::ListingBox(QWidget* parent, Qt::Alignment align) : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Breaking at word boundaries first costs Qt time that grows with the
    // square of an unbroken run's length: a megabyte of pasted digits took
    // minutes to lay out. The program's own lines are far narrower than the
    // box, so breaking anywhere changes nothing they show.
    setWordWrapMode(QTextOption::WrapAnywhere);
    setTabChangesFocus(true);
    // Listings grow by many thousand lines; an undo history of them is useless.
    setUndoRedoEnabled(false);
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(align);
    option.setWrapMode(QTextOption::WrapAnywhere);
    document()->setDefaultTextOption(option);
}

namespace {
bool HasText(const QMimeData* source) { return source != nullptr && source->hasText(); }
} // namespace

bool ListingBox::canInsertFromMimeData(const QMimeData* source) const
{
    return HasText(source) && QPlainTextEdit::canInsertFromMimeData(source);
}

void ListingBox::insertFromMimeData(const QMimeData* source)
{
    if (!HasText(source)) return;
    QPlainTextEdit::insertFromMimeData(source);
}

} // namespace fibmod::ui
