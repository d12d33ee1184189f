// SPDX-License-Identifier: MIT
// The event procedures and their change chains on the real window.
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "tests/ui/form_fixture.h"
#include "core/number_rules.h"

using fibmod::Text1;
using fibmod::Text2;
using fibmod::Text3;

namespace {

using EventWiringTest = FormTest;

const int kOutputs[][2] = {{0, 0}, {0, 1}, {0, 6}, {1, 0}, {1, 1}, {1, 2}};

fibmod::FieldId Output(const int (&at)[2]) { return at[0] == 0 ? Text1(at[1]) : Text3(at[1]); }

} // namespace

TEST_F(EventWiringTest, StartsWithEmptyOutputsAndTheModulusTakenOver)
{
    for (const auto& at : kOutputs) EXPECT_EQ(form.getText(Output(at)), "");
    EXPECT_EQ(form.getText(Text2), "2");
    EXPECT_EQ(form.getScrollValue(), 2);
    click("Command1");
    EXPECT_EQ(form.getText(Text1(0)), " 1\r\n");
    EXPECT_EQ(form.getText(Text1(1)), " 1\r\n");
    EXPECT_EQ(form.getText(Text3(1)), "1");
    EXPECT_EQ(form.getText(Text3(0)), "1");
    EXPECT_EQ(form.getText(Text3(2)), "1");
    EXPECT_NE(form.getText(Text1(6)), "");
}

TEST_F(EventWiringTest, ScrollBarFromTwoToThreeShowsTheWorkedExample)
{
    control<QScrollBar>(QStringLiteral("HScroll1"))->setValue(3);
    EXPECT_EQ(form.getText(Text2), "3");
    EXPECT_EQ(form.getText(Text1(6)),
              Joined({" 2 bei  1 2", " 2 bei  2 2", " 2 bei  1 3", " 2 bei  2 3", " 1 bei  3 5", " 1 bei  4 5",
                      " 1 bei  3 6", " 1 bei  4 6", "", "", "Zusammenfassung:", "gemeinsam sind", "die Reste", "",
                      " 1", " 2"}));
    EXPECT_EQ(form.getText(Text3(2)), "2");
}

TEST_F(EventWiringTest, ClsClearsTheListingsAndKeepsTheResults)
{
    form.setScrollValue(3);
    click("Command3");
    for (int listing : {0, 1, 6}) EXPECT_EQ(form.getText(Text1(listing)), "");
    EXPECT_EQ(form.getText(Text3(1)), "6");
    EXPECT_EQ(form.getText(Text3(2)), "2");
}

TEST_F(EventWiringTest, TypingZeroClearsTheListingsAndKeepsTheResults)
{
    form.setScrollValue(3);
    typeModulus("0");
    for (int listing : {0, 1, 6}) EXPECT_EQ(form.getText(Text1(listing)), "");
    EXPECT_EQ(form.getText(Text3(0)), "4");
    EXPECT_EQ(form.getText(Text3(1)), "6");
    EXPECT_EQ(form.getText(Text3(2)), "2");
}

TEST_F(EventWiringTest, TypingAModulusAboveTheLimitClampsItOnce)
{
    typeModulus("");
    typeModulus("2500");
    EXPECT_EQ(messages, QStringList{QStringLiteral("Begrenzung: Modul m < 2000")});
    EXPECT_EQ(form.getText(Text2), " 2000");
    EXPECT_EQ(form.getScrollValue(), 2);
    EXPECT_EQ(static_cast<double>(LineCount(form.getText(Text1(0)))), fibmod::ValueOfText(form.getText(Text3(1))));
    EXPECT_EQ(static_cast<double>(LineCount(form.getText(Text1(1)))), fibmod::ValueOfText(form.getText(Text3(0))));
}
