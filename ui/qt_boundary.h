// SPDX-License-Identifier: MIT
// The one guard that keeps exceptions out of Qt's frames, for both windows.
#pragma once

#include <exception>
#include <utility>

#include <QString>
#include <QtGlobal>

#include "core/engine/run_time_error.h"

namespace fibmod::ui {

// Runs `action`, entered from Qt (a slot, an event, a queued call), so that
// no exception crosses Qt's frames. One that escapes is handed to `report`
// as the user reads it: a run-time error as the window reports it ("Laufzeitfehler 6: …"),
// anything else as "Interner Fehler: …". A report that throws is dropped.
template <class Action, class Report> void AtQtBoundary(Action&& action, Report&& report) noexcept
{
    QString text;
    try {
        action();
        return;
    } catch (const RunTimeError& error) {
        text = QString::fromStdString(error.message());
    } catch (const std::exception& error) {
        text = QStringLiteral("Interner Fehler: %1").arg(QString::fromUtf8(error.what()));
    } catch (...) {
        text = QStringLiteral("Interner Fehler");
    }
    try {
        report(text);
    } catch (...) {
    }
}

// The same where nobody is there to tell (a worker, a timer, a hover): what
// escapes is logged under `where` and dropped.
template <class Action> void AtQtBoundary(const char* where, Action&& action) noexcept
{
    AtQtBoundary(std::forward<Action>(action),
                 [where](const QString& text) { qCritical("%s: %s", where, qPrintable(text)); });
}

} // namespace fibmod::ui
