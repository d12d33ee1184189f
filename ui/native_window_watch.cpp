// SPDX-License-Identifier: MIT
// Watching the X server's events for the destruction of a window's native window.
#include "ui/native_window_watch.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

namespace fibmod::ui {

NativeWindowWatch::NativeWindowWatch(const QWidget& window, std::function<void()> destroyed)
    : window_(window), destroyed_(std::move(destroyed))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

NativeWindowWatch::~NativeWindowWatch() { QCoreApplication::instance()->removeNativeEventFilter(this); }

bool NativeWindowWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The top bit marks events sent by another client.
    if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY) return false;
    const auto* destroy = static_cast<const xcb_destroy_notify_event_t*>(message);
    const QWindow* native = window_.windowHandle();
    if (native != nullptr && destroy->window == native->winId()) destroyed_();
    return false;
}

} // namespace fibmod::ui
