// SPDX-License-Identifier: MIT
// Where the overview opens, that it keeps its place at every way out, and
// that F2 brings it back after the window system destroyed it.
#include <cstdlib>

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include "tests/overview/overview_fixture.h"
#include "ui/overview/placement.h"

namespace {

using fibmod::overview::OnSomeScreen;
using fibmod::overview::OverviewWindow;
using fibmod::overview::PlaceBeside;
using fibmod::overview::SavedFrame;

const QRect kMain(0, 0, 577, 655);

TEST(PlacementTest, OnASmallScreenItOpensOverTheMainWindowNeverLargerThanTheScreen)
{
    const QRect small(0, 0, 1024, 740);
    const QRect placed = PlaceBeside(kMain, QSize(1000, 720), small);
    EXPECT_TRUE(small.contains(placed)) << placed.x() << "," << placed.y();
    EXPECT_EQ(placed.size(), QSize(1000, 720));
    EXPECT_TRUE(placed.intersects(kMain)) << "no room beside it";

    const QRect tiny(0, 24, 800, 576);
    const QRect shrunk = PlaceBeside(kMain.translated(0, 24), QSize(1000, 720), tiny);
    EXPECT_TRUE(tiny.contains(shrunk));
    EXPECT_EQ(shrunk.size(), tiny.size());
}

TEST(PlacementTest, WhereThereIsRoomItOpensBesideTheMainWindow)
{
    const QRect wide(0, 0, 1920, 1050);
    const QRect right = PlaceBeside(kMain.translated(100, 100), QSize(1000, 720), wide);
    EXPECT_GT(right.left(), kMain.translated(100, 100).right());
    EXPECT_EQ(right.top(), 100);
    EXPECT_TRUE(wide.contains(right));

    const QRect left = PlaceBeside(kMain.translated(1300, 0), QSize(1000, 720), wide);
    EXPECT_LT(left.right(), 1300);
    EXPECT_TRUE(wide.contains(left));
}

TEST(PlacementTest, ASavedPlaceOffEveryScreenIsNotOnAScreen)
{
    const QList<QRect> screens{QRect(0, 0, 1280, 1024)};
    EXPECT_TRUE(OnSomeScreen(QRect(100, 100, 800, 600), screens));
    EXPECT_TRUE(OnSomeScreen(QRect(1200, 900, 800, 600), screens)) << "its title bar is still there to take";
    EXPECT_FALSE(OnSomeScreen(QRect(2000, 100, 800, 600), screens)) << "a second screen that is gone";
    EXPECT_FALSE(OnSomeScreen(QRect(100, 1020, 800, 600), screens));
}

TEST(PlacementTest, APlaceMostlyOffTheScreenIsMovedInsideIt)
{
    const QRect screen(0, 0, 1280, 1024);
    const QRect moved = fibmod::overview::KeptMostlyInside(QRect(901, 720, 900, 600), screen);
    EXPECT_TRUE(screen.contains(moved));
    EXPECT_EQ(moved.size(), QSize(900, 600));
    EXPECT_EQ(fibmod::overview::KeptMostlyInside(QRect(700, 500, 900, 600), screen), QRect(700, 500, 900, 600))
        << "more than half on the screen stays where it was";
}

TEST(PlacementTest, ReadsTheFrameQtSaved)
{
    QWidget widget;
    widget.setGeometry(30, 40, 300, 200);
    const std::optional<QRect> frame = SavedFrame(widget.saveGeometry());
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(*frame, widget.frameGeometry());
    EXPECT_FALSE(SavedFrame(QByteArray("no geometry")).has_value());
}

TEST_F(OverviewTest, OpensInsideTheScreensFreeArea)
{
    OverviewWindow& overview = open();
    const QRect available = overview.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(overview.frameGeometry()));
}

TEST_F(OverviewTest, APlaceNoLongerOnAnyScreenIsNotUsed)
{
    QWidget elsewhere;
    elsewhere.setGeometry(9000, 9000, 600, 400);
    QSettings(QStringLiteral("fibmod"), QStringLiteral("fibmod"))
        .setValue(QStringLiteral("overview/geometry"), elsewhere.saveGeometry());
    OverviewWindow& overview = open();
    EXPECT_TRUE(overview.screen()->availableGeometry().contains(overview.frameGeometry()));
}

// What the X server tells the window's owner when any client destroys one
// of its windows.
void DeliverDestroyNotify(xcb_window_t window)
{
    xcb_destroy_notify_event_t event{};
    event.response_type = XCB_DESTROY_NOTIFY;
    event.event = window;
    event.window = window;
    qintptr result = 0;
    QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &event, &result);
}

TEST_F(OverviewTest, F2BringsAnOverviewBackAfterTheWindowSystemDestroyedIt)
{
    OverviewWindow& first = open();
    first.setGeometry(6, 7, 790, 570);
    DeliverDestroyNotify(static_cast<xcb_window_t>(first.winId()));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form.findChildren<OverviewWindow*>().size(), 0);

    OverviewWindow& again = open();
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(again.size(), QSize(790, 570)) << "its place was kept";
    EXPECT_EQ(Rows(again), expectedRows());
}

// The settings folder of a test's child process: the parent's, passed on.
const char* const kSettingsVariable = "FIBMOD_OVERVIEW_TEST_SETTINGS";

// In a child process: opens the overview at a known place, then presses
// "ende" (or closes the main window), which ends the process at once.
void OpenThenEnd(bool close)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, qEnvironmentVariable(kSettingsVariable));
    Form1 form;
    fibmod::overview::OfferOverview(form);
    form.show();
    OverviewWindow* overview = fibmod::overview::OpenOverview(form);
    overview->setGeometry(3, 4, 790, 580);
    if (close)
        form.close();
    else
        form.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    std::_Exit(2);
}

class OverviewEndDeathTest : public ::testing::TestWithParam<bool> {};

TEST_P(OverviewEndDeathTest, TheOverviewsPlaceIsSavedWhenTheProgramEnds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child process runs this test again: it takes the parent's folder.
    QTemporaryDir settings;
    if (GTEST_FLAG_GET(internal_run_death_test).empty()) qputenv(kSettingsVariable, settings.path().toUtf8());
    EXPECT_EXIT(OpenThenEnd(GetParam()), ::testing::ExitedWithCode(0), "");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    const QByteArray saved =
        QSettings(QStringLiteral("fibmod"), QStringLiteral("fibmod")).value(QStringLiteral("overview/geometry")).toByteArray();
    // The frame saved is the one around the window's place.
    const std::optional<QRect> frame = SavedFrame(saved);
    ASSERT_TRUE(frame.has_value());
    EXPECT_TRUE(frame->contains(QRect(3, 4, 790, 580)));
    EXPECT_LT(frame->width(), 790 + 20);
    EXPECT_LT(frame->height(), 580 + 40);
}

INSTANTIATE_TEST_SUITE_P(EndeAndClose, OverviewEndDeathTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("ClosingTheMainWindow") : std::string("Ende");
                         });

} // namespace
