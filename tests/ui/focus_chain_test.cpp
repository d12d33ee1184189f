// SPDX-License-Identifier: MIT
// The keyboard focus visits the twenty controls in the designed order.
#include <array>

#include <QApplication>
#include <QTest>

#include "tests/ui/form_fixture.h"

namespace {

const std::array<const char*, 20> kChain = {
    "Text1(0)", "Text1(1)", "Text1(2)", "Text1(3)", "Text1(4)", "Text1(5)", "Text2",
    "Command1", "Command2", "Command3", "Text1(6)", "Text3(0)", "Text3(1)", "Text3(2)",
    "HScroll1", "Command4", "Text4(0)", "Text4(1)", "Text4(2)", "Text4(3)",
};

class FocusChainTest : public FormTest {
protected:
    void SetUp() override
    {
        form.show();
        QApplication::setActiveWindow(&form);
    }

    std::string focused() const
    {
        QWidget* widget = form.window()->focusWidget();
        return widget == nullptr ? "<none>" : widget->objectName().toStdString();
    }
};

} // namespace

TEST_F(FocusChainTest, StartsOnTheListingOfSequenceTwo)
{
    EXPECT_EQ(focused(), "Text1(0)");
}

TEST_F(FocusChainTest, TabVisitsTheChainAndWrapsRound)
{
    for (std::size_t step = 1; step <= kChain.size(); ++step) {
        QTest::keyClick(form.window()->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(focused(), kChain[step % kChain.size()]) << "after Tab " << step;
    }
}

TEST_F(FocusChainTest, BacktabWalksTheChainBackwards)
{
    QTest::keyClick(form.window()->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), "Text4(3)");
    QTest::keyClick(form.window()->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), "Text4(2)");
}
