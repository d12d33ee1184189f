// SPDX-License-Identifier: MIT
// The window's side of the field access: kept texts, batched widget
// refresh, the event hand-over, message boxes and the program's end.
#include "ui/form1.h"

#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalBlocker>

#include "ui/control_table.h"

namespace {
// Hand-overs to the event loop between two looks at the clock.
constexpr int kHandOverStride = 64;
} // namespace

fibmod::ui::TextField& Form1::field(fibmod::FieldId id) { return fields_.at(fibmod::BoxSlot(id)); }

std::string Form1::getText(fibmod::FieldId id) { return field(id).text(); }

void Form1::setText(fibmod::FieldId id, std::string_view text)
{
    if (field(id).replace(text)) changed(id);
}

void Form1::appendText(fibmod::FieldId id, std::string_view text)
{
    if (field(id).append(text)) changed(id);
}

void Form1::changed(fibmod::FieldId id)
{
    // A write made outside any event procedure still reaches the screen once
    // control is back in the event loop.
    if (!refreshPosted_) {
        refreshPosted_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (depth_ > 0) return; // the returning procedure refreshes
                refreshWidgets();
                refreshPosted_ = false;
            },
            Qt::QueuedConnection);
    }
    noteEdit(id);
    if (id == fibmod::Text2) Text2_Change();
}

void Form1::refreshWidgets()
{
    for (fibmod::ui::TextField& kept : fields_) kept.refresh();
    lastRefresh_ = std::chrono::steady_clock::now();
}

std::int16_t Form1::getScrollValue() { return static_cast<std::int16_t>(scroll_->value()); }

void Form1::setScrollValue(std::int16_t value)
{
    const int before = scroll_->value();
    {
        const QSignalBlocker quiet(scroll_);
        scroll_->setValue(value);
    }
    if (scroll_->value() != before) HScroll1_Change();
}

// A term takes a fraction of a microsecond and a turn of the event loop (with
// the repaints it brings) far more. So the loop gets its turn at the first
// hand-over of every procedure entered from Qt, and after that once the turn
// interval has passed, the clock being read at every kHandOverStride-th
// hand-over: a click still acts well within a frame, and a long run is not
// slowed by the hand-overs.
void Form1::pumpEvents()
{
    if (handOversToSkip_ > 0) {
        --handOversToSkip_;
        return;
    }
    handOversToSkip_ = kHandOverStride - 1;
    const auto now = std::chrono::steady_clock::now();
    if (turnTaken_ && now - lastTurn_ < pacing_.turn) return;
    turnTaken_ = true;
    lastTurn_ = now;
    const long reportedBefore = errorsReported_;
    if (now - lastRefresh_ >= pacing_.refresh) refreshWidgets();
    QCoreApplication::processEvents();
    if (errorsReported_ != reportedBefore) throw Abandoned{};
}

void Form1::showMessage(std::string_view text)
{
    const long reportedBefore = errorsReported_;
    ask(fibmod::ui::ToQString(text));
    if (errorsReported_ != reportedBefore) throw Abandoned{};
}

void Form1::setMessageHook(std::function<void(const QString&)> hook) { messageHook_ = std::move(hook); }

// One message box at a time: while it is open, nothing else of the window
// runs, whether the box is a person's or the tests' hook.
void Form1::ask(const QString& text)
{
    refreshWidgets();
    letGoOfScrollArrow();
    messageOpen_ = true;
    scrollUnderMessage_ = scroll_->value();
    const auto closed = qScopeGuard([this] { messageOpen_ = false; });
    if (messageHook_) {
        messageHook_(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, fibmod::ui::ToQString(fibmod::ui::kApplicationTitle), text,
                    QMessageBox::Ok, this);
    box.exec();
}

// A box that opens while a scroll bar arrow is held takes the mouse's release
// away from the arrow, which would then go on stepping behind the box and
// bring up box after box. The arrow is let go first: one click, one step.
// A dragged thumb is left alone: it steps nothing while held.
void Form1::letGoOfScrollArrow()
{
    if (!scrollHeld_ || scroll_->isSliderDown()) return;
    const QPointF outside(-1, -1);
    QMouseEvent release(QEvent::MouseButtonRelease, outside, scroll_->mapToGlobal(outside), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(scroll_, &release);
    scrollHeld_ = false;
}

void Form1::reportError(const QString& text)
{
    ++errorsReported_;
    ask(text);
}

void Form1::endProgram()
{
    emit ending();
    std::fflush(nullptr);
#ifdef FIBMOD_END_THROUGH_EXIT
    // Sanitizer builds leave through exit(), so that the leak check runs.
    std::exit(0);
#else
    std::_Exit(0);
#endif
}
