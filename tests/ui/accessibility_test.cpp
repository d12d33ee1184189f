// SPDX-License-Identifier: MIT
// What assistive technology meets in the main window: a window, named controls, captions with their boxes, no decoration.
#include <QAccessible>
#include <QLabel>

#include "tests/ui/form_fixture.h"
#include "ui/control_table.h"

namespace {

using AccessibilityTest = FormTest;

TEST_F(AccessibilityTest, TheWindowIsAWindowAndItsDecorationIsHidden)
{
    form.show();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&form);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    QStringList listed;
    for (int at = 0; at < window->childCount(); ++at) listed << window->child(at)->object()->objectName();
    for (const char* decoration : {"Label1(0)", "Label1(3)", "Label3", "Label6"}) {
        EXPECT_FALSE(listed.contains(QLatin1String(decoration))) << decoration;
        QAccessibleInterface* label = QAccessible::queryAccessibleInterface(control(QLatin1String(decoration)));
        EXPECT_TRUE(label->state().invisible) << decoration;
    }
    EXPECT_TRUE(listed.contains(QStringLiteral("Text2")));
    EXPECT_TRUE(listed.contains(QStringLiteral("Label2(2)")));
    // Every child the window lists answers to its own index.
    for (int at = 0; at < window->childCount(); ++at) EXPECT_EQ(window->indexOfChild(window->child(at)), at);
}

TEST_F(AccessibilityTest, EveryControlHasANameAndEachCaptionNamesItsBox)
{
    for (const fibmod::ui::TextBoxEntry& box : fibmod::ui::kTextBoxes) {
        const std::string name = fibmod::BoxName(box.field);
        QAccessibleInterface* found = QAccessible::queryAccessibleInterface(control(fibmod::ui::ToQString(name)));
        EXPECT_EQ(found->text(QAccessible::Name), fibmod::ui::ToQString(box.accessibleName)) << name;
    }
    for (const fibmod::ui::ButtonEntry& button : fibmod::ui::kButtons) {
        QAccessibleInterface* found = QAccessible::queryAccessibleInterface(control(fibmod::ui::ToQString(button.name)));
        EXPECT_EQ(found->text(QAccessible::Name), fibmod::ui::ToQString(button.caption)) << button.name;
    }
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(control(QStringLiteral("HScroll1")))->text(QAccessible::Name).isEmpty());

    // "Modul" is said with the modulus box: the caption labels it.
    QAccessibleInterface* modulus = QAccessible::queryAccessibleInterface(control(QStringLiteral("Text2")));
    const auto labels = modulus->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->text(QAccessible::Name), QStringLiteral("Modul"));
    int captions = 0;
    for (const fibmod::ui::LabelEntry& entry : fibmod::ui::kLabels) {
        if (entry.kind != fibmod::ui::LabelKind::Caption) continue;
        ++captions;
        EXPECT_NE(control<QLabel>(fibmod::ui::ToQString(entry.name))->buddy(), nullptr) << entry.name;
    }
    EXPECT_EQ(captions, 7);
}

} // namespace
