// SPDX-License-Identifier: MIT
// The main window Form1: its controls built from the table, their signals, and the guard around its procedures.
#include "ui/form1.h"

#include <exception>
#include <limits>

#include <QCloseEvent>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringList>

#include "core/engine/run_time_error.h"
#include "core/window/run_state.h"
#include "ui/accessibility.h"
#include "ui/control_table.h"
#include "ui/listing_box.h"
#include "ui/native_window_watch.h"
#include "ui/qt_boundary.h"

using fibmod::ui::ListingBox;
using fibmod::ui::Px;
using fibmod::ui::ToQString;

namespace {

QRect Geometry(const fibmod::ui::Rect& rect)
{
    return {Px(rect.left), Px(rect.top), Px(rect.width), Px(rect.height)};
}

QFont Font(std::string_view family, QFont::StyleHint hint, double points)
{
    QFont font(ToQString(family));
    font.setStyleHint(hint);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

Qt::Alignment Horizontal(fibmod::ui::Align align)
{
    switch (align) {
    case fibmod::ui::Align::Left: return Qt::AlignLeft;
    case fibmod::ui::Align::Centre: return Qt::AlignHCenter;
    case fibmod::ui::Align::Right: return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

// The boxes' backgrounds are light whatever the platform's colour scheme, so
// their text and selection colours are fixed too: a dark scheme's light text
// would vanish on them.
void SetColours(QWidget* widget, std::uint32_t background)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, QColor::fromRgb(background));
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0x80));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    widget->setPalette(palette);
}

// A solid face in the designed colour, with a black caption on it whatever the colour scheme.
QString FaceStyle(std::uint32_t rgb)
{
    return QStringLiteral("QPushButton { background-color: %1; color: black; border: 1px solid #404040; }"
                          "QPushButton:pressed { border: 2px inset #404040; }")
        .arg(QColor::fromRgb(rgb).name());
}

} // namespace

Form1::Form1(Form1Pacing pacing, QWidget* parent)
    : QWidget(parent), state_(std::make_unique<fibmod::RunState>()), pacing_(pacing)
{
    setObjectName(QStringLiteral("Form1"));
    fibmod::ui::PresentAsWindow(*this);
    setWindowTitle(ToQString(fibmod::ui::kWindowCaption));
    QStringList substitutes;
    for (std::string_view face : fibmod::ui::kSansSubstitutes) substitutes << ToQString(face);
    QFont::insertSubstitutions(ToQString(fibmod::ui::kDotFontFamily), substitutes);
    setFont(Font(fibmod::ui::kWindowFontFamily, QFont::SansSerif, fibmod::ui::kWindowPointSize));
    resize(Px(fibmod::ui::kInitialClientWidth), Px(fibmod::ui::kInitialClientHeight));
    buildControls();
    wireControls();
    // A window destroyed by the window system ends the program as closing it does.
    nativeWatch_ =
        std::make_unique<fibmod::ui::NativeWindowWatch>(*this, [this] { fromQt([this] { endProgram(); }); });
    wireOverviewKey();
    fromQt([this] { Form_Load(); });
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    using namespace fibmod::ui;
    // The kept texts are stored by field slot, whatever the table's order.
    std::vector<const TextBoxEntry*> bySlot(fibmod::kTextBoxCount);
    for (const TextBoxEntry& entry : kTextBoxes) bySlot.at(fibmod::BoxSlot(entry.field)) = &entry;
    fields_.reserve(fibmod::kTextBoxCount);
    for (const TextBoxEntry* entry : bySlot) {
        const Qt::Alignment align = Horizontal(entry->align);
        if (entry->lines == Lines::Multi) {
            fields_.emplace_back(new ListingBox(this, align), std::string(entry->text));
        } else {
            auto* box = new QLineEdit(this);
            box->setAlignment(align | Qt::AlignVCenter);
            box->setMaxLength(std::numeric_limits<int>::max());
            fields_.emplace_back(box, std::string(entry->text));
        }
        QWidget* box = fields_.back().widget();
        box->setObjectName(ToQString(fibmod::BoxName(entry->field)));
        box->setGeometry(Geometry(entry->rect));
        box->setFont(Font(kTextFontFamily, QFont::Serif,
                          entry->field == fibmod::Text2 ? kModulusPointSize : kTextPointSize));
        box->setAccessibleName(ToQString(entry->accessibleName));
        SetColours(box, entry->background);
    }

    for (const ButtonEntry& entry : kButtons) {
        auto* button = new QPushButton(ToQString(entry.caption), this);
        button->setObjectName(ToQString(entry.name));
        button->setGeometry(Geometry(entry.rect));
        button->setAutoDefault(false);
        button->setDefault(false);
        if (entry.face != kStandardFace) button->setStyleSheet(FaceStyle(entry.face));
        if (!entry.toolTip.empty()) button->setToolTip(ToQString(entry.toolTip));
    }

    for (const LabelEntry& entry : kLabels) {
        auto* label = new QLabel(ToQString(entry.caption), this);
        label->setObjectName(ToQString(entry.name));
        label->setGeometry(Geometry(entry.rect));
        label->setTextFormat(Qt::PlainText);
        label->setFocusPolicy(Qt::NoFocus);
        label->setAlignment((entry.kind == LabelKind::Sign ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        if (entry.kind == LabelKind::Dot) label->setFont(Font(kDotFontFamily, QFont::SansSerif, kDotPointSize));
        if (entry.kind != LabelKind::Caption) MarkDecorative(*label);
    }
    // Each caption names its box, so that a screen reader says it with the box.
    for (const LabelEntry& entry : kLabels) {
        if (!entry.buddy) continue;
        findChild<QLabel*>(ToQString(entry.name), Qt::FindDirectChildrenOnly)
            ->setBuddy(findChild<QWidget*>(ToQString(fibmod::BoxName(*entry.buddy)), Qt::FindDirectChildrenOnly));
    }

    scroll_ = new QScrollBar(Qt::Horizontal, this);
    scroll_->setObjectName(ToQString(kScrollBar.name));
    scroll_->setGeometry(Geometry(kScrollBar.rect));
    scroll_->setRange(kScrollBar.minimum, kScrollBar.maximum);
    scroll_->setSingleStep(1);
    scroll_->setPageStep(1);
    scroll_->setValue(kScrollBar.value);
    // A dragged thumb changes the value only where it is released.
    scroll_->setTracking(false);
    scroll_->setFocusPolicy(Qt::StrongFocus);
    scroll_->setAccessibleName(ToQString(kScrollBar.accessibleName));
    scroll_->installEventFilter(this);

    QWidget* previous = nullptr;
    for (std::string_view name : kFocusChain) {
        auto* next = findChild<QWidget*>(ToQString(name), Qt::FindDirectChildrenOnly);
        if (previous != nullptr) setTabOrder(previous, next);
        previous = next;
    }
    findChild<QWidget*>(ToQString(kFocusChain.front()))->setFocus();
}

void Form1::wireControls()
{
    for (std::size_t slot = 0; slot < fields_.size(); ++slot) {
        auto edited = [this, slot] {
            if (heldByMessage()) {
                fields_[slot].restore();
                return;
            }
            fromQt([this, slot] { takeOverEdit(slot); });
        };
        QWidget* box = fields_[slot].widget();
        box->installEventFilter(this);
        if (auto* line = qobject_cast<QLineEdit*>(box))
            connect(line, &QLineEdit::textChanged, this, edited);
        else
            connect(qobject_cast<QPlainTextEdit*>(box), &QPlainTextEdit::textChanged, this, edited);
    }
    const std::pair<const char*, void (Form1::*)()> clicks[] = {
        {"Command1", &Form1::Command1_Click},
        {"Command2", &Form1::Command2_Click},
        {"Command3", &Form1::Command3_Click},
        {"Command4", &Form1::Command4_Click},
    };
    for (const auto& [name, procedure] : clicks) {
        connect(findChild<QPushButton*>(QLatin1String(name)), &QPushButton::clicked, this,
                [this, procedure = procedure] {
                    if (heldByMessage()) return;
                    fromQt([this, procedure] { (this->*procedure)(); });
                });
    }
    connect(scroll_, &QScrollBar::valueChanged, this, [this] {
        if (heldByMessage()) {
            const QSignalBlocker quiet(scroll_);
            scroll_->setValue(scrollUnderMessage_);
            return;
        }
        fromQt([this] { HScroll1_Change(); });
    });
}

// Every procedure entered from Qt runs through here, so that no exception
// crosses Qt's frames. A run-time error is reported once; procedures that a
// nested, already reported failure interrupted stop silently.
template <class Procedure> void Form1::fromQt(Procedure&& procedure)
{
    if (depth_++ == 0) {
        handOversToSkip_ = 0;
        turnTaken_ = false;
        emit busyChanged(true);
    }
    fibmod::ui::AtQtBoundary(
        [&] {
            try {
                procedure();
            } catch (const Abandoned&) {
            }
        },
        [this](const QString& text) { reportError(text); });
    --depth_;
    if (depth_ == 0) {
        refreshWidgets();
        refreshPosted_ = false;
        emit busyChanged(false);
    }
}

void Form1::takeOverEdit(std::size_t slot)
{
    if (!fields_.at(slot).takeOverEdit()) return;
    noteEdit(fibmod::BoxAtSlot(slot));
    if (slot == fibmod::BoxSlot(fibmod::Text2)) Text2_Change();
}

// While a run goes on, a box may show less than it holds. A user's edit must
// apply to the whole text, so the box is refreshed before a key reaches it.
bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == scroll_ && event->type() == QEvent::MouseButtonPress)
        scrollHeld_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (watched == scroll_ && event->type() == QEvent::MouseButtonRelease) scrollHeld_ = false;
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::InputMethod) {
        for (fibmod::ui::TextField& kept : fields_)
            if (kept.widget() == watched) kept.refresh();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    fromQt([this] { endProgram(); });
}
