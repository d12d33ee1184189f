// SPDX-License-Identifier: MIT
// What assistive technology reads in the overview: a window, named controls, and the result lines' present text.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>

#include "tests/overview/overview_fixture.h"
#include "ui/overview/overview_chart.h"

namespace {

using AccessibilityTest = OverviewTest;

// What a screen reader reads for `widget`: its name, and its value where it has one.
QString Said(QWidget* widget)
{
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(widget);
    return found == nullptr ? QString() : found->text(QAccessible::Name);
}

TEST_F(AccessibilityTest, TheSummaryTheRefusalAndTheDetailLineSayTheirPresentText)
{
    fibmod::overview::OverviewWindow& overview = open();
    QLabel* summary = nullptr;
    for (QLabel* label : overview.findChildren<QLabel*>())
        if (label->text() == SummaryText(overview)) summary = label;
    ASSERT_NE(summary, nullptr);
    EXPECT_TRUE(Said(summary).startsWith(QStringLiteral("1999 Moduln, "))) << Said(summary).toStdString();
    EXPECT_EQ(Said(summary), SummaryText(overview));

    overview.showModulus(7);
    QLabel* detail = nullptr;
    for (QLabel* label : overview.findChildren<QLabel*>())
        if (!label->text().isEmpty() && label->text() == DetailText(overview)) detail = label;
    ASSERT_NE(detail, nullptr);
    EXPECT_TRUE(Said(detail).startsWith(QStringLiteral("Modul 7: Zykellänge Folge 1: ")));

    box(QStringLiteral("von"))->setValue(2500);
    QLabel* problem = nullptr;
    for (QLabel* label : overview.findChildren<QLabel*>())
        if (!label->text().isEmpty() && label->text() == ProblemText(overview)) problem = label;
    ASSERT_NE(problem, nullptr);
    EXPECT_TRUE(Said(problem).startsWith(QStringLiteral("„von“ (2500) ist größer als „bis“")));
    EXPECT_TRUE(overview.findChild<QProgressBar*>()->text().isEmpty()) << "no stale progress after a refusal";
    // The hint and the summary share one line.
    EXPECT_TRUE(summary->isHidden());
    box(QStringLiteral("von"))->setValue(2);
    EXPECT_TRUE(problem->isHidden());
    EXPECT_FALSE(summary->isHidden());
}

TEST_F(AccessibilityTest, TheWindowIsAWindowAndEachControlHasAName)
{
    fibmod::overview::OverviewWindow& overview = open();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&overview)->role(), QAccessible::Window);
    QList<QWidget*> controls;
    for (QAbstractSpinBox* box : overview.findChildren<QAbstractSpinBox*>()) controls << box;
    for (QAbstractButton* button : overview.findChildren<QAbstractButton*>())
        if (button->parent() != nullptr && !button->inherits("QHeaderView")) controls << button;
    controls << overview.tableView() << overview.chart() << overview.findChild<QProgressBar*>();
    for (QWidget* control : controls) {
        if (control->inherits("QTableCornerButton")) continue; // Qt's own, not shown: no row header
        EXPECT_FALSE(Said(control).isEmpty()) << control->metaObject()->className();
    }
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(overview.chart());
    EXPECT_TRUE(chart->text(QAccessible::Description).contains(QStringLiteral("Anzahl gemeinsamer Reste")));
}

} // namespace
