// SPDX-License-Identifier: MIT
// The form's run behind the page: actions as the window's procedures, errors as messages, the end of the run.
#include "web/form_session.h"

#include <string>

#include <gmock/gmock.h>

#include "core/window/field_roles.h"
#include "core/window/text_boxes.h"

namespace fibmod::web {
namespace {

int Slot(FieldId field) { return static_cast<int>(BoxSlot(field)); }

TEST(FormSession, StartsWithTheDesignTimeInputsAndEmptyResults)
{
    FormSession session;
    EXPECT_EQ(session.text(Slot(kModulusField)), "2");
    EXPECT_EQ(session.text(Slot(kSequence1Fields.r)), "6");
    EXPECT_EQ(session.text(Slot(kCommonCountField)), "");
    EXPECT_EQ(session.scrollValue(), 2);
    EXPECT_TRUE(session.takeMessages().empty());
}

TEST(FormSession, AModulusEditShowsTheCyclesAndZeigenShowsThemAgainAlike)
{
    FormSession session;
    session.edit(Slot(kModulusField), "12");
    const std::string listing = session.text(Slot(kSequence1Fields.listing));
    EXPECT_THAT(listing, ::testing::EndsWith("\r\n"));
    session.click(3);
    EXPECT_EQ(session.text(Slot(kSequence1Fields.listing)), "");
    session.click(1);
    EXPECT_EQ(session.text(Slot(kSequence1Fields.listing)), listing);
}

TEST(FormSession, ARunTimeErrorBecomesOneMessageAndTheRunGoesOn)
{
    FormSession session;
    // A fractional coefficient never closes the cycle.
    session.edit(Slot(kSequence2Fields.r), "0.5");
    session.edit(Slot(kModulusField), "7");
    EXPECT_THAT(session.takeMessages(), ::testing::ElementsAre(::testing::StartsWith("Laufzeitfehler 9")));
    EXPECT_TRUE(session.takeMessages().empty());
    session.edit(Slot(kSequence2Fields.r), "4");
    session.click(3);
    session.click(1);
    EXPECT_TRUE(session.takeMessages().empty());
    EXPECT_NE(session.text(Slot(kCommonCountField)), "");
}

TEST(FormSession, SteppingAtTheTopOfTheRangeGivesTheLimitMessage)
{
    FormSession session;
    session.scroll(2000);
    session.takeMessages();
    session.click(4);
    EXPECT_THAT(session.takeMessages(), ::testing::ElementsAre(::testing::HasSubstr("2000")));
}

TEST(FormSession, EndeEndsTheRunAndEveryLaterActionIsIgnored)
{
    FormSession session;
    session.click(2);
    EXPECT_TRUE(session.ended());
    session.edit(Slot(kModulusField), "12");
    EXPECT_EQ(session.text(Slot(kModulusField)), "2");
    EXPECT_EQ(session.text(99), "");
}

} // namespace
} // namespace fibmod::web
