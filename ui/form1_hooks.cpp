// SPDX-License-Identifier: MIT
// The window's ways out to the overview: F2, the background's context menu,
// the signal that an input changed, and the scroll bar moved for it. None of
// them shows on the window.
#include "ui/form1.h"

#include <QContextMenuEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QShortcut>

#include "core/engine/inputs.h"
#include "core/window/input_fields.h"
#include "ui/control_table.h"

void Form1::wireOverviewKey()
{
    auto* key = new QShortcut(QKeySequence(Qt::Key_F2), this);
    key->setContext(Qt::WindowShortcut);
    connect(key, &QShortcut::activated, this, &Form1::overviewRequested);
}

void Form1::contextMenuEvent(QContextMenuEvent* event)
{
    // Captions are painted on the background; buttons and the scroll bar are not.
    QWidget* under = childAt(event->pos());
    if (under != nullptr && qobject_cast<QLabel*>(under) == nullptr) {
        event->ignore();
        return;
    }
    event->accept();
    // Entered from Qt: a menu that cannot be built is simply not shown.
    try {
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addAction(QStringLiteral("Übersicht aller Moduln …  F2"), this, &Form1::overviewRequested);
        menu->popup(event->globalPos());
    } catch (...) {
    }
}

void Form1::noteEdit(fibmod::FieldId id)
{
    if (fibmod::IsInputField(id)) emit inputChanged();
}

void Form1::moveScrollBar(int value) { scroll_->setValue(value); }
