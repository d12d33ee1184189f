// SPDX-License-Identifier: MIT
#pragma once

#include <exception>

#include <QtGlobal>

namespace fibmod::overview {

// Runs `action`, entered from Qt (a slot, an event, a queued call), so that
// no exception crosses Qt's frames: one that escapes is logged and dropped.
// Slots with a way to tell the user (the window's) report it there instead.
template <class Action> void AtQtBoundary(const char* where, Action&& action) noexcept
{
    try {
        action();
    } catch (const std::exception& error) {
        qCritical("%s: %s", where, error.what());
    } catch (...) {
        qCritical("%s: unknown exception", where);
    }
}

} // namespace fibmod::overview
