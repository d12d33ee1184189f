// SPDX-License-Identifier: MIT
// The window's controls against the layout they were designed with.
#include <limits>

#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextLine>
#include <QAbstractTextDocumentLayout>

#include "tests/ui/form_fixture.h"
#include "ui/control_table.h"

namespace {

struct Placed {
    const char* name;
    int left, top, width, height; // twips
};

// All 35 controls.
const Placed kPlaces[] = {
    {"Text4(0)", 720, 720, 495, 495},     {"Text1(4)", 1560, 720, 495, 495},
    {"Text4(1)", 720, 1200, 495, 495},    {"Text1(5)", 1560, 1200, 495, 495},
    {"Text1(1)", 720, 1920, 1335, 6615},  {"Text3(0)", 720, 8640, 1335, 375},
    {"Text4(2)", 2640, 720, 495, 495},    {"Text1(2)", 3480, 720, 495, 495},
    {"Text4(3)", 2640, 1200, 495, 495},   {"Text1(3)", 3480, 1200, 495, 495},
    {"Text1(0)", 2640, 1920, 1335, 6615}, {"Text3(1)", 2640, 8640, 1335, 375},
    {"Text2", 4680, 720, 855, 555},       {"Text1(6)", 4680, 2280, 3375, 6255},
    {"Text3(2)", 4680, 8640, 1335, 375},  {"Command1", 6720, 720, 855, 495},
    {"Command3", 7560, 720, 495, 495},    {"Command4", 4680, 1320, 3375, 375},
    {"Command2", 6960, 8640, 1095, 375},  {"HScroll1", 5640, 720, 855, 495},
    {"Label2(0)", 720, 360, 1095, 255},   {"Label2(1)", 2640, 360, 1095, 255},
    {"Label2(2)", 4680, 360, 1095, 255},  {"Label2(3)", 4680, 1920, 2895, 255},
    {"Label2(4)", 720, 9120, 1095, 255},  {"Label2(5)", 2640, 9120, 1095, 255},
    {"Label2(6)", 4680, 9120, 2175, 255}, {"Label1(0)", 1320, 600, 255, 375},
    {"Label1(1)", 1320, 1080, 255, 375},  {"Label1(2)", 3240, 600, 255, 375},
    {"Label1(3)", 3240, 1080, 255, 375},  {"Label3", 480, 1320, 135, 255},
    {"Label4", 2400, 1320, 135, 255},     {"Label5", 480, 2040, 135, 255},
    {"Label6", 2400, 2040, 135, 255},
};

struct Box {
    const char* name;
    QRgb background;
    Qt::Alignment align;
    bool multi;
    const char* text;
    const char* accessibleName;
};

const Box kBoxes[] = {
    {"Text4(0)", 0xC0C0FF, Qt::AlignHCenter, false, "-1", "s Folge 1"},
    {"Text4(1)", 0xC0C0FF, Qt::AlignHCenter, false, "6", "r Folge 1"},
    {"Text4(2)", 0xC0C0FF, Qt::AlignHCenter, false, "-1", "s Folge 2"},
    {"Text4(3)", 0xC0C0FF, Qt::AlignHCenter, false, "4", "r Folge 2"},
    {"Text1(4)", 0xC0FFFF, Qt::AlignRight, false, "1", "Startwert a(n-1) Folge 1"},
    {"Text1(5)", 0xC0FFFF, Qt::AlignRight, false, "1", "Startwert a(n) Folge 1"},
    {"Text1(2)", 0xC0FFFF, Qt::AlignRight, false, "1", "Startwert a(n-1) Folge 2"},
    {"Text1(3)", 0xC0FFFF, Qt::AlignRight, false, "1", "Startwert a(n) Folge 2"},
    {"Text1(1)", 0xC0FFFF, Qt::AlignRight, true, "", "Zyklus Folge 1"},
    {"Text1(0)", 0xC0FFFF, Qt::AlignRight, true, "", "Zyklus Folge 2"},
    {"Text1(6)", 0xC0FFFF, Qt::AlignLeft, true, "", "Gemeinsame Glieder"},
    {"Text3(0)", 0xE0E0E0, Qt::AlignHCenter, false, "", "Zykellänge Folge 1"},
    {"Text3(1)", 0xE0E0E0, Qt::AlignHCenter, false, "", "Zykellänge Folge 2"},
    {"Text3(2)", 0xE0E0E0, Qt::AlignHCenter, false, "", "Anzahl gemeinsamer Glieder"},
    {"Text2", 0xFFFF80, Qt::AlignHCenter, false, "2", "Modul"},
};

const std::pair<const char*, const char*> kCaptions[] = {
    {"Label2(0)", "Def.  Folge 1"}, {"Label2(1)", "Def.   Folge 2"}, {"Label2(2)", "Modul"},
    {"Label2(3)", "Gemeinsames Folgenglied x  bei..."}, {"Label2(4)", "Zykellänge"},
    {"Label2(5)", "Zykellänge"}, {"Label2(6)", "Anzahl gemeinsamer Glieder"},
    {"Label1(0)", "."}, {"Label1(1)", "."}, {"Label1(2)", "."}, {"Label1(3)", "."},
    {"Label3", "+"}, {"Label4", "+"}, {"Label5", "="}, {"Label6", "="},
    {"Command1", "Zeigen"}, {"Command2", "ende"}, {"Command3", "cls"},
    {"Command4", "Nächster: Nur Rest 1 gemeinsam"},
};

QRect Pixels(const Placed& place)
{
    return {place.left / 15, place.top / 15, place.width / 15, place.height / 15};
}

QString Caption(QWidget* widget)
{
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    return qobject_cast<QPushButton*>(widget)->text();
}

// Where the first line of a multi-line box is drawn, once laid out.
QTextLine FirstLine(QPlainTextEdit* box)
{
    const QTextBlock first = box->document()->firstBlock();
    box->document()->documentLayout()->blockBoundingRect(first);
    return first.layout()->lineAt(0);
}

using LayoutTest = FormTest;

} // namespace

TEST_F(LayoutTest, EveryControlStandsWhereDesigned)
{
    for (const Placed& place : kPlaces) {
        QWidget* widget = control(QString::fromUtf8(place.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), Pixels(place)) << place.name;
    }
}

TEST_F(LayoutTest, HasExactlyThirtyFiveControls)
{
    const auto children = form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    int boxes = 0, buttons = 0, labels = 0, bars = 0;
    for (QWidget* child : children) {
        if (child->isWindow()) continue;
        boxes += qobject_cast<QLineEdit*>(child) != nullptr || qobject_cast<QPlainTextEdit*>(child) != nullptr;
        buttons += qobject_cast<QPushButton*>(child) != nullptr;
        labels += qobject_cast<QLabel*>(child) != nullptr;
        bars += qobject_cast<QScrollBar*>(child) != nullptr;
    }
    EXPECT_EQ(boxes, 15);
    EXPECT_EQ(buttons, 4);
    EXPECT_EQ(labels, 15);
    EXPECT_EQ(bars, 1);
    // Every box has its own place among the fifteen, found both ways.
    for (const fibmod::ui::TextBoxEntry& entry : fibmod::ui::kTextBoxes)
        EXPECT_EQ(fibmod::BoxAtSlot(fibmod::BoxSlot(entry.field)), entry.field) << fibmod::BoxName(entry.field);
}

TEST_F(LayoutTest, CaptionIsExactWithTwelveBlanks)
{
    const QString caption = form.windowTitle();
    EXPECT_EQ(caption.toStdString(),
              "Fibonaccifolgen. Suche gemeinsamer Glieder mod M.            a(n+1) = r*a(n) + s*a(n-1)");
    EXPECT_EQ(caption.size(), 87);
    EXPECT_TRUE(caption.contains(QStringLiteral("mod M.") + QString(12, u' ') + QStringLiteral("a(n+1)")));
}

TEST_F(LayoutTest, LoadSizesTheWindowToShowTheWholeLayout)
{
    // Not yet framed by a window system, so the outer size is the client's.
    EXPECT_EQ(form.size(), QSize(587, 667));
    EXPECT_GE(form.width(), 8055 / 15);
    EXPECT_GE(form.height(), 9375 / 15);
}

TEST(WindowSize, AFrameTakesItsShareOfTheOuterSizeButNeverHidesAControl)
{
    using fibmod::ui::ClientExtent;
    // 8800 twips outer width around a frame of 4 pixels on each side.
    EXPECT_EQ(ClientExtent(8800, 8, 8055), 587 - 8);
    // A frame as wide as the spare room and wider: the controls reach 537 pixels.
    EXPECT_EQ(ClientExtent(8800, 50, 8055), 537);
    EXPECT_EQ(ClientExtent(8800, 120, 8055), 537);
    EXPECT_EQ(ClientExtent(10000, 200, 9375), 625);
}

TEST_F(LayoutTest, ResizingMovesNoControl)
{
    form.resize(300, 200);
    for (const Placed& place : kPlaces) EXPECT_EQ(control(QString::fromUtf8(place.name))->geometry(), Pixels(place));
}

TEST_F(LayoutTest, CaptionsAreExactAndCarryNoAccessKey)
{
    for (const auto& [name, caption] : kCaptions) {
        QWidget* widget = control(QString::fromUtf8(name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(Caption(widget).toStdString(), caption) << name;
        EXPECT_FALSE(Caption(widget).contains(u'&')) << name;
    }
}

TEST_F(LayoutTest, CaptionsFitTheirBoxes)
{
    for (const auto& [name, caption] : kCaptions) {
        QWidget* widget = control(QString::fromUtf8(name));
        EXPECT_LE(widget->fontMetrics().horizontalAdvance(Caption(widget)), widget->width() - 2) << name;
        EXPECT_LE(widget->fontMetrics().ascent(), widget->height()) << name;
    }
}

TEST_F(LayoutTest, LabelsDrawFromTheTopAndTakeNoFocus)
{
    for (const auto& [name, caption] : kCaptions) {
        auto* label = form.findChild<QLabel*>(QString::fromUtf8(name));
        if (label == nullptr) continue;
        EXPECT_TRUE(label->alignment() & Qt::AlignTop) << name;
        const bool sign = QString::fromUtf8(caption) == u"+" || QString::fromUtf8(caption) == u"=";
        if (!sign) {
            EXPECT_TRUE(label->alignment() & Qt::AlignLeft) << name;
        }
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << name;
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << name;
    }
}

TEST_F(LayoutTest, DotsAskForMsSansSerifEighteenPoint)
{
    for (const char* name : {"Label1(0)", "Label1(1)", "Label1(2)", "Label1(3)"}) {
        const QFont font = control(QString::fromUtf8(name))->font();
        EXPECT_EQ(font.family(), u"MS Sans Serif") << name;
        EXPECT_EQ(font.pointSizeF(), 18.0) << name;
        EXPECT_EQ(font.weight(), QFont::Normal) << name;
        EXPECT_EQ(font.styleHint(), QFont::SansSerif) << name;
    }
}

TEST_F(LayoutTest, TextBoxesHaveTheirTextsColoursAndNames)
{
    for (const Box& box : kBoxes) {
        QWidget* widget = control(QString::fromUtf8(box.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->palette().color(QPalette::Base).rgb(), 0xFF000000u | box.background) << box.name;
        EXPECT_EQ(widget->accessibleName().toStdString(), box.accessibleName) << box.name;
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            EXPECT_FALSE(box.multi) << box.name;
            EXPECT_EQ(line->text().toStdString(), box.text) << box.name;
            EXPECT_EQ(line->alignment() & Qt::AlignHorizontal_Mask, box.align) << box.name;
            EXPECT_FALSE(line->isReadOnly()) << box.name;
            EXPECT_EQ(line->maxLength(), std::numeric_limits<int>::max()) << box.name;
        } else {
            auto* multi = qobject_cast<QPlainTextEdit*>(widget);
            ASSERT_NE(multi, nullptr) << box.name;
            EXPECT_TRUE(box.multi) << box.name;
            EXPECT_TRUE(multi->toPlainText().isEmpty()) << box.name;
            EXPECT_FALSE(multi->isReadOnly()) << box.name;
            EXPECT_EQ(multi->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn) << box.name;
            EXPECT_EQ(multi->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff) << box.name;
            EXPECT_EQ(multi->lineWrapMode(), QPlainTextEdit::WidgetWidth) << box.name;
            EXPECT_TRUE(multi->tabChangesFocus()) << box.name;
        }
    }
}

TEST_F(LayoutTest, TextBoxesAskForTimesNewRoman)
{
    for (const Box& box : kBoxes) {
        const QFont font = control(QString::fromUtf8(box.name))->font();
        EXPECT_EQ(font.family(), u"Times New Roman") << box.name;
        EXPECT_EQ(font.pointSizeF(), QString::fromUtf8(box.name) == u"Text2" ? 14.25 : 12.0) << box.name;
        EXPECT_EQ(font.weight(), QFont::Normal) << box.name;
        EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut()) << box.name;
    }
}

TEST_F(LayoutTest, ListingsAlignEveryLineRightAndCommonMembersLeft)
{
    form.show(); // lines are laid out at the width of a shown box
    form.setText(fibmod::kSequence2Fields.listing, " 1\r\n 1234\r\n");
    form.setText(fibmod::kCommonMembersField, " 1 bei  3 5\r\nZusammenfassung:\r\n");
    form.refreshWidgets();
    auto* listing = control<QPlainTextEdit>(QStringLiteral("Text1(0)"));
    auto* common = control<QPlainTextEdit>(QStringLiteral("Text1(6)"));

    for (QTextBlock block = listing->document()->firstBlock(); block.isValid(); block = block.next()) {
        listing->document()->documentLayout()->blockBoundingRect(block);
        const QTextLine line = block.layout()->lineAt(0);
        if (block.text().isEmpty()) continue;
        EXPECT_NEAR(line.naturalTextRect().right(), line.rect().right(), 1.0) << block.text().toStdString();
        EXPECT_GT(line.naturalTextRect().left(), 10.0) << block.text().toStdString();
    }
    const QTextLine first = FirstLine(common);
    EXPECT_NEAR(first.naturalTextRect().left(), first.rect().left(), 1.0);
    EXPECT_LT(first.naturalTextRect().right(), first.rect().right() - 10.0);
}

TEST_F(LayoutTest, ButtonsHaveSolidFacesAndNoDefault)
{
    const std::pair<const char*, QRgb> faces[] = {
        {"Command1", 0x80FF80}, {"Command3", 0x8080FF}, {"Command2", 0xFF0000}};
    for (const auto& [name, rgb] : faces) {
        auto* button = control<QPushButton>(QString::fromUtf8(name));
        const QImage face = button->grab().toImage();
        // Inside the border, away from the caption.
        EXPECT_EQ(face.pixel(3, 3) & 0xFFFFFFu, rgb) << name;
        EXPECT_EQ(face.pixel(face.width() - 4, face.height() - 4) & 0xFFFFFFu, rgb) << name;
    }
    EXPECT_TRUE(control<QPushButton>(QStringLiteral("Command4"))->styleSheet().isEmpty());
    for (auto* button : form.findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
}

TEST_F(LayoutTest, OnlyClsHasAToolTip)
{
    EXPECT_EQ(control(QStringLiteral("Command3"))->toolTip().toStdString(), "Ausgabefelder löschen");
    for (const char* name : {"Command1", "Command2", "Command4"})
        EXPECT_TRUE(control(QString::fromUtf8(name))->toolTip().isEmpty()) << name;
}

TEST_F(LayoutTest, ScrollBarRunsFromTwoToTwoThousandInSingleSteps)
{
    auto* bar = control<QScrollBar>(QStringLiteral("HScroll1"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    EXPECT_EQ(bar->minimum(), 2);
    EXPECT_EQ(bar->maximum(), 2000);
    EXPECT_EQ(bar->singleStep(), 1);
    EXPECT_EQ(bar->pageStep(), 1);
    EXPECT_EQ(bar->value(), 2);
    EXPECT_FALSE(bar->hasTracking());
    EXPECT_TRUE(bar->focusPolicy() & Qt::TabFocus);
    bar->setValue(2500);
    EXPECT_EQ(bar->value(), 2000);
}
