// SPDX-License-Identifier: MIT
// The accessible interfaces of the program's windows and of their decoration.
#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMenu>
#include <QVariant>
#include <QWidget>

namespace fibmod::ui {

namespace {

const char* const kWindowMark = "fibmodAccessibleWindow";
const char* const kDecorationMark = "fibmodDecorative";

bool Marked(const QObject* object, const char* mark) { return object->property(mark).toBool(); }

// A top-level window: role Window, its decoration left out of its children.
class WindowInterface : public QAccessibleWidget {
public:
    explicit WindowInterface(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return static_cast<int>(shown().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> children = shown();
        if (index < 0 || index >= children.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child == nullptr || !child->object() || !child->object()->isWidgetType()) return -1;
        return static_cast<int>(shown().indexOf(static_cast<QWidget*>(child->object())));
    }

private:
    // The children Qt itself would list, less the decoration.
    QList<QWidget*> shown() const
    {
        QList<QWidget*> children;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child == nullptr || child->isWindow() || qobject_cast<QMenu*>(child) != nullptr ||
                Marked(child, kDecorationMark) || child->objectName() == QLatin1String("qt_rubberband"))
                continue;
            children.append(child);
        }
        return children;
    }
};

// Decoration: nothing to say, and invisible to assistive technology.
class DecorationInterface : public QAccessibleWidget {
public:
    explicit DecorationInterface(QWidget* widget) : QAccessibleWidget(widget, QAccessible::NoRole) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
    QString text(QAccessible::Text) const override { return {}; }
};

// Asked for every class of an object, the most derived first.
QAccessibleInterface* Interface(const QString& className, QObject* object)
{
    if (object == nullptr || !object->isWidgetType() ||
        className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (Marked(widget, kWindowMark)) return new WindowInterface(widget);
    if (Marked(widget, kDecorationMark)) return new DecorationInterface(widget);
    return nullptr;
}

// An interface made for `widget` before it was marked goes, so that the
// next one asked for is made by Interface().
void Forget(QWidget& widget, QAccessible::Role wanted)
{
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget);
    if (made != nullptr && made->role() != wanted) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void InstallOnce()
{
    static const bool installed = [] {
        QAccessible::installFactory(&Interface);
        return true;
    }();
    (void)installed;
}

} // namespace

void PresentAsWindow(QWidget& window)
{
    InstallOnce();
    window.setProperty(kWindowMark, true);
    Forget(window, QAccessible::Window);
}

void MarkDecorative(QWidget& widget)
{
    InstallOnce();
    widget.setProperty(kDecorationMark, true);
    Forget(widget, QAccessible::NoRole);
}

} // namespace fibmod::ui
