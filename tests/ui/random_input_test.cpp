// SPDX-License-Identifier: MIT
// The real window driven through a few thousand random actions of a user in
// a hurry: typing, pasting, clicking and scrolling, also nested inside long
// runs and while a message box is open. After every action nothing may have
// escaped, every box must show what it keeps, no listing may hold a number
// beyond the double range, and at most one message box may have been open.
//
// The seed is printed; FIBMOD_RANDOM_SEED replays a run, and
// FIBMOD_RANDOM_ACTIONS sets the number of actions.
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <string>

#include "tests/support/seeded_random.h"
#include "tests/ui/form_fixture.h"
#include "ui/control_table.h"

namespace fibmod::testing {
namespace {

// A seed whose actions reach the top of the double range inside the reduction.
constexpr std::uint32_t kDefaultSeed = 1;
constexpr long kDefaultActions = 3000;
// Widgets refreshed only when a procedure returns, turns of the event loop by count.
constexpr Form1Pacing kByCount{.refresh = std::chrono::hours(1), .turn = std::chrono::milliseconds(0)};

long FromEnvironment(const char* name, long fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtol(value, nullptr, 10) : fallback;
}

// Short texts a user types. No "n": the letters can never spell inf or nan.
const char* const kTyped[] = {
    "0", "1", "2", "7", "17", "250", "1999", "2000", "-", "+", ".", "e", "E", "D", "d", "-1", "+6", ".5", "1e3",
    "2D2", "x", "Wz", "K", "äß", "€", "1 2", "-0", "2000.5", "1999.5", "1e400", "1e308", "1.7e308",
    // The double range's very end.
    "1.7976931348623157e308", "-1.7976931348623157e308", "1e-310", "0.05", "5e-1",
};

class RandomUser {
public:
    RandomUser(Form1& form, std::uint32_t seed) : form_(form), random_(seed)
    {
        for (const fibmod::ui::TextBoxEntry& entry : fibmod::ui::kTextBoxes)
            boxes_.push_back({form.findChild<QWidget*>(fibmod::ui::ToQString(fibmod::BoxName(entry.field))), entry.field});
        scroll_ = form.findChild<QScrollBar*>(QStringLiteral("HScroll1"));
        form.setMessageHook([this](const QString& text) { answer(text); });
    }

    // One action at the top level, with everything it queued handled.
    void act(long number)
    {
        actionNumber_ = number;
        anyAction(0);
        QCoreApplication::processEvents();
    }

    int mostOpenBoxes() const { return mostOpen_; }
    const std::deque<std::string>& lastActions() const { return log_; }

    // A failure message unless every box's widget shows its kept text.
    std::string mismatchedBox()
    {
        form_.refreshWidgets();
        for (const auto& [widget, field] : boxes_) {
            std::string kept = form_.getText(field);
            // A listing holds back a CR at the very end until its LF comes.
            if (qobject_cast<QPlainTextEdit*>(widget) != nullptr && !kept.empty() && kept.back() == '\r')
                kept.pop_back();
            if (ShownAsKept(widget) != kept) return widget->objectName().toStdString();
        }
        return {};
    }

    std::string listingWithInfinity()
    {
        for (int listing : {0, 1, 6}) {
            const std::string kept = form_.getText(Text1(listing));
            if (kept.find("inf") != std::string::npos || kept.find("nan") != std::string::npos)
                return "Text1(" + std::to_string(listing) + ")";
        }
        return {};
    }

private:
    struct Box {
        QWidget* widget;
        FieldId field;
    };

    int below(int n) { return random_.belowInt(n); }
    bool chance(int percent) { return random_.chance(percent); }
    void note(std::string what)
    {
        log_.push_back("#" + std::to_string(actionNumber_) + " " + std::move(what));
        if (log_.size() > 30) log_.pop_front();
    }

    // Moduli mostly small, so that a few thousand actions stay quick.
    int modulus() { return chance(95) ? 2 + below(60) : 2 + below(1999); }

    void anyAction(int depth)
    {
        switch (below(20)) {
        case 0: case 1: case 2: case 3: type(); break;
        case 4: case 5: press(); break;
        case 6: paste(); break;
        case 7: case 8: click("Command1"); break;
        case 9: click("Command3"); break;
        case 10: case 11: search(); break;
        case 12: case 13: case 14: scrollStep(); break;
        case 15: case 16: scrollJump(); break;
        default: nested(depth); break;
        }
    }

    Box& anyBox() { return boxes_[static_cast<std::size_t>(below(static_cast<int>(boxes_.size())))]; }

    void type()
    {
        Box& box = anyBox();
        const char* text = kTyped[below(std::size(kTyped))];
        note("type " + std::string(text) + " into " + box.widget->objectName().toStdString());
        if (chance(60)) QTest::keyClick(box.widget, Qt::Key_A, Qt::ControlModifier);
        // QTest types ASCII only; other characters come as a key's text.
        for (QChar c : QString::fromUtf8(text)) {
            if (c.unicode() < 0x80)
                QTest::keyClick(box.widget, static_cast<char>(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, box.widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    void press()
    {
        static constexpr std::pair<Qt::Key, Qt::KeyboardModifier> kKeys[] = {
            {Qt::Key_Backspace, Qt::NoModifier}, {Qt::Key_Delete, Qt::NoModifier}, {Qt::Key_Return, Qt::NoModifier},
            {Qt::Key_Home, Qt::NoModifier},      {Qt::Key_End, Qt::ControlModifier}, {Qt::Key_Tab, Qt::NoModifier},
            {Qt::Key_Z, Qt::ControlModifier},    {Qt::Key_X, Qt::ControlModifier},   {Qt::Key_Left, Qt::ShiftModifier},
        };
        Box& box = anyBox();
        const auto [key, modifier] = kKeys[below(std::size(kKeys))];
        note("key " + std::to_string(key) + " into " + box.widget->objectName().toStdString());
        QTest::keyClick(box.widget, key, modifier);
    }

    void paste()
    {
        Box& box = anyBox();
        const int kind = below(20);
        int size = 0;
        if (kind < 8) size = 0;
        else if (kind < 17) size = 1 + below(3000);
        else if (kind < 19) size = 100 * 1024;
        else if (chance(25)) size = 1024 * 1024;
        else size = 100 * 1024;
        if (size == 0) QGuiApplication::clipboard()->clear();
        else QGuiApplication::clipboard()->setText(QString(size, QChar(u'0' + below(10))));
        note("paste " + std::to_string(size) + " digits into " + box.widget->objectName().toStdString());
        if (chance(50)) QTest::keyClick(box.widget, Qt::Key_V, Qt::ControlModifier);
        else QTest::keyClick(box.widget, Qt::Key_Insert, Qt::ShiftModifier);
    }

    void click(const char* name)
    {
        note(std::string("click ") + name);
        form_.findChild<QPushButton*>(QLatin1String(name))->click();
    }

    // The stepping search, with a "cls" queued to end it after a random
    // number of hand-overs, so that no search runs the whole way to 2000.
    void search()
    {
        const int handOvers = 1 + below(3000);
        note("search, cls after " + std::to_string(handOvers) + " hand-overs");
        clsAfter(handOvers);
        const bool outer = !searching_;
        searching_ = true;
        click("Command4");
        if (outer) searching_ = false;
    }

    void clsAfter(int handOvers)
    {
        QMetaObject::invokeMethod(
            &form_,
            [this, handOvers] {
                if (!searching_) return;
                if (handOvers > 1) return clsAfter(handOvers - 1);
                click("Command3");
            },
            Qt::QueuedConnection);
    }

    void scrollStep()
    {
        static constexpr QAbstractSlider::SliderAction kSteps[] = {
            QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
            QAbstractSlider::SliderPageStepAdd, QAbstractSlider::SliderPageStepSub, QAbstractSlider::SliderToMinimum};
        const auto step = kSteps[below(std::size(kSteps))];
        note("scroll step " + std::to_string(step));
        scroll_->triggerAction(step);
    }

    void scrollJump()
    {
        const int to = chance(2) ? 2000 : modulus();
        note("scroll to " + std::to_string(to));
        scroll_->setValue(to);
    }

    // Actions queued for later hand-overs of whatever runs next, then a run.
    void nested(int depth)
    {
        if (depth >= 2) return type();
        const int count = 1 + below(4);
        note("queue " + std::to_string(count) + " actions, then a run");
        for (int i = 0; i < count; ++i) later(1 + below(200), depth + 1);
        if (chance(50)) click("Command1");
        else scrollJump();
    }

    void later(int handOvers, int depth)
    {
        QMetaObject::invokeMethod(
            &form_,
            [this, handOvers, depth] {
                if (handOvers > 1) return later(handOvers - 1, depth);
                anyAction(depth);
            },
            Qt::QueuedConnection);
    }

    // A message box: counted while open; sometimes the user goes on
    // clicking and typing behind it.
    void answer(const QString& text)
    {
        mostOpen_ = std::max(mostOpen_, ++open_);
        note("message " + text.left(40).toStdString());
        if (!inMessage_ && chance(30)) {
            inMessage_ = true;
            anyAction(2);
            inMessage_ = false;
        }
        --open_;
    }

    Form1& form_;
    SeededRandom random_;
    std::vector<Box> boxes_;
    QScrollBar* scroll_ = nullptr;
    std::deque<std::string> log_;
    long actionNumber_ = 0;
    int open_ = 0;
    int mostOpen_ = 0;
    bool inMessage_ = false;
    bool searching_ = false;
};

std::string Joined(const std::deque<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += "  " + line + "\n";
    return text;
}

TEST(RandomInput, ThousandsOfRandomActionsKeepTheWindowSound)
{
    const auto seed = static_cast<std::uint32_t>(FromEnvironment("FIBMOD_RANDOM_SEED", kDefaultSeed));
    const long actions = FromEnvironment("FIBMOD_RANDOM_ACTIONS", kDefaultActions);
    std::cout << "FIBMOD_RANDOM_SEED=" << seed << " FIBMOD_RANDOM_ACTIONS=" << actions << std::endl;
    ::testing::Test::RecordProperty("seed", std::to_string(seed));

    // The widgets follow a run only when a procedure returns and before a
    // user's key, not once per frame: what a frame's refresh changes (the
    // cursor, the undo history of a box) would make a seed's run depend on
    // the machine's speed. For the same reason the event loop's turns during
    // a run come by count, not by the clock.
    Form1 form(kByCount);
    RandomUser user(form, seed);
    for (long n = 1; n <= actions; ++n) {
        try {
            user.act(n);
        } catch (const std::exception& error) {
            FAIL() << "escaped: " << error.what() << "\n" << Joined(user.lastActions());
        } catch (...) {
            FAIL() << "an exception escaped\n" << Joined(user.lastActions());
        }
        ASSERT_LE(user.mostOpenBoxes(), 1) << Joined(user.lastActions());
        const std::string mismatch = user.mismatchedBox();
        ASSERT_EQ(mismatch, "") << "shows other than it keeps\n" << Joined(user.lastActions());
        const std::string infinite = user.listingWithInfinity();
        ASSERT_EQ(infinite, "") << "holds inf or nan: " << form.getText(Text1(infinite[6] - '0')).substr(0, 200)
                                << "\n" << Joined(user.lastActions());
    }
    QGuiApplication::clipboard()->clear();
}

// After whatever a user did, "ende" pressed during the next run (or right
// after it, where there is none) ends the program at once.
TEST(RandomInputDeathTest, EndeActsAfterRandomActions)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto seed = static_cast<std::uint32_t>(FromEnvironment("FIBMOD_RANDOM_SEED", kDefaultSeed));
    EXPECT_EXIT(
        {
            Form1 form(kByCount);
            RandomUser user(form, seed);
            for (long n = 1; n <= 300; ++n) user.act(n);
            form.setMessageHook([](const QString&) {});
            auto* ende = form.findChild<QPushButton*>(QStringLiteral("Command2"));
            QMetaObject::invokeMethod(ende, [ende] { ende->click(); }, Qt::QueuedConnection);
            form.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
            QCoreApplication::processEvents();
            std::_Exit(2);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace fibmod::testing
