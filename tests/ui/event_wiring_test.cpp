// SPDX-License-Identifier: MIT
// The event procedures and their change chains on the real window.
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "core/engine/number_rules.h"
#include "tests/ui/form_fixture.h"

using fibmod::Text1;
using fibmod::Text3;
using fibmod::kCommonCountField;
using fibmod::kCommonMembersField;
using fibmod::kModulusField;
using fibmod::kSequence1Fields;
using fibmod::kSequence2Fields;

namespace {

using EventWiringTest = FormTest;

const int kOutputs[][2] = {{0, 0}, {0, 1}, {0, 6}, {1, 0}, {1, 1}, {1, 2}};

fibmod::FieldId Output(const int (&at)[2]) { return at[0] == 0 ? Text1(at[1]) : Text3(at[1]); }

} // namespace

TEST_F(EventWiringTest, StartsWithEmptyOutputsAndTheModulusTakenOver)
{
    for (const auto& at : kOutputs) EXPECT_EQ(form.getText(Output(at)), "");
    EXPECT_EQ(form.getText(kModulusField), "2");
    EXPECT_EQ(form.getScrollValue(), 2);
    click("Command1");
    EXPECT_EQ(form.getText(kSequence2Fields.listing), " 1\r\n");
    EXPECT_EQ(form.getText(kSequence1Fields.listing), " 1\r\n");
    EXPECT_EQ(form.getText(kSequence2Fields.length), "1");
    EXPECT_EQ(form.getText(kSequence1Fields.length), "1");
    EXPECT_EQ(form.getText(kCommonCountField), "1");
    EXPECT_NE(form.getText(kCommonMembersField), "");
}

TEST_F(EventWiringTest, ScrollBarFromTwoToThreeShowsTheWorkedExample)
{
    control<QScrollBar>(QStringLiteral("HScroll1"))->setValue(3);
    EXPECT_EQ(form.getText(kModulusField), "3");
    EXPECT_EQ(form.getText(kCommonMembersField),
              Joined({" 2 bei  1 2", " 2 bei  2 2", " 2 bei  1 3", " 2 bei  2 3", " 1 bei  3 5", " 1 bei  4 5",
                      " 1 bei  3 6", " 1 bei  4 6", "", "", "Zusammenfassung:", "gemeinsam sind", "die Reste", "",
                      " 1", " 2"}));
    EXPECT_EQ(form.getText(kCommonCountField), "2");
}

TEST_F(EventWiringTest, ClsClearsTheListingsAndKeepsTheResults)
{
    form.setScrollValue(3);
    click("Command3");
    for (int listing : {0, 1, 6}) EXPECT_EQ(form.getText(Text1(listing)), "");
    EXPECT_EQ(form.getText(kSequence2Fields.length), "6");
    EXPECT_EQ(form.getText(kCommonCountField), "2");
}

TEST_F(EventWiringTest, TypingZeroClearsTheListingsAndKeepsTheResults)
{
    form.setScrollValue(3);
    typeModulus("0");
    for (int listing : {0, 1, 6}) EXPECT_EQ(form.getText(Text1(listing)), "");
    EXPECT_EQ(form.getText(kSequence1Fields.length), "4");
    EXPECT_EQ(form.getText(kSequence2Fields.length), "6");
    EXPECT_EQ(form.getText(kCommonCountField), "2");
}

TEST_F(EventWiringTest, TypingAModulusAboveTheLimitClampsItOnce)
{
    typeModulus("");
    typeModulus("2500");
    EXPECT_EQ(messages, QStringList{QStringLiteral("Begrenzung: Modul m < 2000")});
    EXPECT_EQ(form.getText(kModulusField), " 2000");
    EXPECT_EQ(form.getScrollValue(), 2);
    EXPECT_EQ(static_cast<double>(LineCount(form.getText(kSequence2Fields.listing))), fibmod::ValueOfText(form.getText(kSequence2Fields.length)));
    EXPECT_EQ(static_cast<double>(LineCount(form.getText(kSequence1Fields.listing))), fibmod::ValueOfText(form.getText(kSequence1Fields.length)));
}
