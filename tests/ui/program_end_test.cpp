// "ende" and the frame's close control end the program at once, also in the
// middle of a run.
#include <cstdlib>

#include <gtest/gtest.h>

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

} // namespace
} // namespace fibmod::testing
