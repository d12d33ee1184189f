// SPDX-License-Identifier: MIT
// Under a dark colour scheme (light text on dark ground) the boxes and the
// coloured buttons keep their designed light backgrounds, and what is
// written on them stays readable.
#include <algorithm>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

#include "tests/ui/dark_palette.h"
#include "tests/ui/form_fixture.h"

namespace fibmod::testing {
namespace {

// Set on the application before the window is made, as the platform does.
class DarkScheme {
public:
    DarkScheme() : saved_(QApplication::palette()) { QApplication::setPalette(DarkPalette()); }
    ~DarkScheme() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

// The difference in grey between the lightest and the darkest pixel inside
// a control's frame: text readable on its ground makes it large.
int Contrast(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    int darkest = 255;
    int lightest = 0;
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x) {
            const int grey = qGray(image.pixel(x, y));
            darkest = std::min(darkest, grey);
            lightest = std::max(lightest, grey);
        }
    return lightest - darkest;
}

constexpr int kReadable = 128;

class DarkPaletteTest : public ::testing::TestWithParam<const char*> {
protected:
    DarkScheme scheme;
    Form1 form;

    QWidget* control() { return form.findChild<QWidget*>(QString::fromUtf8(GetParam())); }
};

using DarkPaletteBoxTest = DarkPaletteTest;

TEST_P(DarkPaletteBoxTest, TextAndSelectionAreReadableOnTheDesignedBackground)
{
    QWidget* box = control();
    ASSERT_NE(box, nullptr);
    // A listing's scroll bar follows the scheme: only the text area counts.
    if (auto* listing = qobject_cast<QPlainTextEdit*>(box)) box = listing->viewport();
    EXPECT_EQ(QApplication::palette().color(QPalette::Text), QColor(0xF0, 0xF0, 0xF0));
    // Wide digits, so that the text's strokes are wider than its edges' blur.
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->setText(QStringLiteral("888"));
        EXPECT_GE(Contrast(box), kReadable) << "text";
        line->selectAll();
    } else {
        auto* listing = qobject_cast<QPlainTextEdit*>(control());
        listing->setPlainText(QStringLiteral("888\n888"));
        EXPECT_GE(Contrast(box), kReadable) << "text";
        listing->selectAll();
    }
    EXPECT_GE(Contrast(box), kReadable) << "selection";
}

INSTANTIATE_TEST_SUITE_P(EveryColour, DarkPaletteBoxTest,
                         ::testing::Values("Text4(0)", "Text1(4)", "Text1(0)", "Text1(6)", "Text3(2)", "Text2"),
                         ControlCaseName);

using DarkPaletteButtonTest = DarkPaletteTest;

TEST_P(DarkPaletteButtonTest, CaptionIsReadableOnTheDesignedFace)
{
    ASSERT_NE(control(), nullptr);
    EXPECT_GE(Contrast(control()), kReadable);
}

INSTANTIATE_TEST_SUITE_P(EveryColouredButton, DarkPaletteButtonTest, ::testing::Values("Command1", "Command3"),
                         ControlCaseName);

} // namespace
} // namespace fibmod::testing
