// SPDX-License-Identifier: MIT
// The button "Nächster: Nur Rest 1 gemeinsam" on the real window.
#include <gmock/gmock.h>

#include "tests/ui/form_fixture.h"

namespace fibmod::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using SteppingTest = FormTest;

TEST_F(SteppingTest, StopsAtTheNextModulusWithOneCommonResidue)
{
    click("Command4");
    EXPECT_EQ(scrollValue(), 4);
    EXPECT_EQ(text(kModulusField), "4");
    EXPECT_EQ(text(kCommonCountField), "1");
    EXPECT_EQ(OutputsOf(form), HeadlessOutputs(form, 4));

    click("Command4");
    EXPECT_EQ(text(kModulusField), "5");
    EXPECT_EQ(text(kCommonCountField), "1");
    EXPECT_THAT(messages, IsEmpty());
    // The widgets show what the fields hold once the press is handled.
    EXPECT_EQ(control<QLineEdit>(QStringLiteral("Text2"))->text(), "5");
}

TEST_F(SteppingTest, GoesOnPastAModulusWithNoCommonResidue)
{
    // Sequence 1 stays at 1, sequence 2 at 5: modulo 3 nothing is common
    // (1 and 2), modulo 4 the residue 1 is.
    for (int column : {0, 2}) {
        form.setText(Text4(column), "0");
        form.setText(Text4(column + 1), "1");
    }
    for (int start : {2, 3}) form.setText(Text1(start), "5");
    click("Command4");
    EXPECT_EQ(scrollValue(), 4);
    EXPECT_EQ(text(kCommonCountField), "1");
    EXPECT_THAT(messages, IsEmpty());
}

TEST_F(SteppingTest, At2000ShowsTheLimitAndChangesNothing)
{
    scrollTo(2000);
    const Outputs before = OutputsOf(form);
    click("Command4");
    EXPECT_THAT(messages, ElementsAre(QStringLiteral("Begrenzung: Modul m < 2000")));
    EXPECT_EQ(scrollValue(), 2000);
    EXPECT_EQ(OutputsOf(form), before);
}

TEST_F(SteppingTest, RunsToTheLimitWhenNoModulusHasASingleResidue)
{
    // r = 4, s = −1 from 1, 1 in both columns: above 2 no modulus has one.
    for (int i : {1, 3}) form.setText(Text4(i), "4");
    scrollTo(1950);
    click("Command4");
    EXPECT_THAT(messages, ElementsAre(QStringLiteral("Begrenzung: Modul m < 2000")));
    EXPECT_EQ(scrollValue(), 2000);
    EXPECT_EQ(text(kModulusField), "2000");
    EXPECT_EQ(OutputsOf(form), HeadlessOutputs(form, 2000));
}

TEST_F(SteppingTest, ReadsTheCountAlreadyShownWhenTheModulusWasTyped)
{
    scrollTo(3);
    typeModulus("4");
    form.setText(kCommonMembersField, "unverändert");
    click("Command4");
    EXPECT_EQ(scrollValue(), 4);
    EXPECT_EQ(text(kCommonMembersField), "unverändert");
}

TEST_F(SteppingTest, AScrollMoveDuringTheSearchMovesTheSearch)
{
    duringNextHandOver([this] { scrollTo(9); });
    click("Command4");
    // 9 has six common residues; the search goes on from there to 10.
    EXPECT_EQ(scrollValue(), 10);
    EXPECT_EQ(OutputsOf(form), HeadlessOutputs(form, 10));
}

TEST_F(SteppingTest, ClsDuringTheSearchEndsIt)
{
    form.setText(kCommonCountField, "2");
    duringNextHandOver([this] { click("Command3"); });
    click("Command4");
    EXPECT_EQ(scrollValue(), 3);
    EXPECT_EQ(text(kSequence2Fields.listing), "");
    EXPECT_EQ(text(kCommonMembersField), "");
    EXPECT_EQ(text(kCommonCountField), "2");
}

TEST_F(SteppingTest, ARunTimeErrorEndsTheSearch)
{
    // Sequence 1 with r = s = 1 has a cycle of 3996 terms modulo 1997.
    form.setText(kSequence1Fields.r, "1");
    form.setText(kSequence1Fields.s, "1");
    scrollTo(1995);
    click("Command4");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("9")) << messages[0].toStdString();
    EXPECT_EQ(scrollValue(), 1997);
}

} // namespace
} // namespace fibmod::testing
