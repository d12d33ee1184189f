// SPDX-License-Identifier: MIT
// Run-time errors are reported once at the boundary to Qt, stop every
// procedure they interrupt, and leave the program running.
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QScrollBar>

#include "tests/ui/form_fixture.h"

using fibmod::kModulusField;
using fibmod::kSequence2Fields;

namespace {

const QString kError6 = QStringLiteral("Laufzeitfehler 6: Überlauf");
const QString kError9 = QStringLiteral("Laufzeitfehler 9: Index außerhalb des gültigen Bereichs");

class ErrorBoundaryTest : public FormTest {
protected:
    QPushButton* zeigen() { return control<QPushButton>(QStringLiteral("Command1")); }
    QScrollBar* scrollBar() { return control<QScrollBar>(QStringLiteral("HScroll1")); }

    // What a user does: a start value beyond the double range, then "Zeigen".
    void spoilAndShow()
    {
        control<QLineEdit>(QStringLiteral("Text1(2)"))->setText(QStringLiteral("1e400"));
        zeigen()->click();
    }
};

} // namespace

TEST_F(ErrorBoundaryTest, NestedFailureIsReportedOnce)
{
    setBothSequences("1", "1", "1", "1");
    // A user's scroll move inside the first hand-over of the outer run.
    QMetaObject::invokeMethod(&form, [this] { scrollBar()->setValue(1250); }, Qt::QueuedConnection);
    scrollBar()->setValue(7);
    EXPECT_EQ(messages, QStringList{kError9});
    EXPECT_EQ(LineCount(form.getText(kSequence2Fields.listing)), 3000u) << "the interrupted run wrote on";
    EXPECT_EQ(form.getText(kModulusField), "1250");
}

TEST_F(ErrorBoundaryTest, NestedFailureStopsTheInterruptedCaller)
{
    setBothSequences("1", "1", "1", "1");
    QMetaObject::invokeMethod(&form, [this] { scrollBar()->setValue(1250); }, Qt::QueuedConnection);
    // Called from code, not from Qt: the hand-over does not return normally.
    EXPECT_ANY_THROW(form.setScrollValue(7));
    EXPECT_EQ(messages, QStringList{kError9});
}

TEST_F(ErrorBoundaryTest, InputWhileAMessageIsOpenCannotFailBehindIt)
{
    onMessage = [this](const QString& text) {
        if (text.startsWith(u"Begrenzung")) spoilAndShow();
    };
    control<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("2500"));
    EXPECT_EQ(messages, QStringList{QStringLiteral("Begrenzung: Modul m < 2000")});
    EXPECT_EQ(form.getText(kModulusField), " 2000") << "the clamp did not run on";
    EXPECT_EQ(form.getText(kSequence2Fields.first), "1");
}

TEST_F(ErrorBoundaryTest, SuccessfulNestedProcedureLetsTheOuterRunFinish)
{
    form.setScrollValue(3);
    QMetaObject::invokeMethod(
        &form, [this] { control<QLineEdit>(QStringLiteral("Text3(2)"))->setText(QStringLiteral("x")); },
        Qt::QueuedConnection);
    zeigen()->click();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(form.getText(kSequence2Fields.length), "12");
}
