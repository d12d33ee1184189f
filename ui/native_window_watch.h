// SPDX-License-Identifier: MIT
// A watch for a window's native window destroyed by the window system.
#pragma once

#include <functional>

#include <QAbstractNativeEventFilter>

class QWidget;

namespace fibmod::ui {

// Watches the window system's events for the destruction of a window's
// native window by someone else (on X11 another client's XDestroyWindow).
// Qt raises no close then, and the process would live on without a window.
// Installs itself on the application while it lives.
class NativeWindowWatch : public QAbstractNativeEventFilter {
public:
    NativeWindowWatch(const QWidget& window, std::function<void()> destroyed);
    ~NativeWindowWatch() override;
    NativeWindowWatch(const NativeWindowWatch&) = delete;
    NativeWindowWatch& operator=(const NativeWindowWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    const QWidget& window_;
    std::function<void()> destroyed_;
};

} // namespace fibmod::ui
