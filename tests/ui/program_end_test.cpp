// SPDX-License-Identifier: MIT
// "ende" and the frame's close control end the program at once, also in the
// middle of a run.
#include <cstdlib>

#include <QAbstractEventDispatcher>
#include <QWindow>

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include "tests/ui/form_fixture.h"

namespace fibmod::testing {
namespace {

// Starts a long listing (r = s = 1 modulo 625, 2500 terms a sequence) with
// `interruption` queued for its first hand-over, and fails loudly if the run
// comes back.
template <class Interruption>
void InterruptALongListing(Interruption interruption)
{
    Form1 form;
    form.setMessageHook([](const QString&) { std::_Exit(3); });
    for (int i = 0; i < 2; ++i) form.setText(Text4(i), "1");
    QMetaObject::invokeMethod(&form, [&form, interruption] { interruption(form); }, Qt::QueuedConnection);
    form.findChild<QScrollBar*>("HScroll1")->setValue(625);
    std::_Exit(2);
}

TEST(ProgramEndDeathTest, EndePressedDuringARunEndsTheProgramAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(InterruptALongListing([](Form1& form) { form.findChild<QPushButton*>("Command2")->click(); }),
                ::testing::ExitedWithCode(0), "");
}

TEST(ProgramEndDeathTest, ClosingTheWindowDuringARunEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(InterruptALongListing([](Form1& form) { form.close(); }), ::testing::ExitedWithCode(0), "");
}

// What the X server tells the window's owner when any client destroys one
// of its windows (xdotool windowclose, for one).
bool DeliverDestroyNotify(xcb_window_t window)
{
    xcb_destroy_notify_event_t event{};
    event.response_type = XCB_DESTROY_NOTIFY;
    event.event = window;
    event.window = window;
    qintptr result = 0;
    return QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &event, &result);
}

TEST(ProgramEndDeathTest, TheWindowSystemDestroyingTheWindowEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(InterruptALongListing([](Form1& form) {
                    DeliverDestroyNotify(static_cast<xcb_window_t>(form.winId()));
                }),
                ::testing::ExitedWithCode(0), "");
}

TEST(ProgramEnd, DestroyingAnotherWindowLeavesTheProgramRunning)
{
    Form1 form;
    form.show();
    QWidget other;
    other.show();
    EXPECT_FALSE(DeliverDestroyNotify(static_cast<xcb_window_t>(other.winId())));
    // Still running: a scroll move recomputes.
    form.findChild<QScrollBar*>("HScroll1")->setValue(3);
    EXPECT_EQ(form.getText(kCommonCountField), "2");
}

} // namespace
} // namespace fibmod::testing
