// SPDX-License-Identifier: MIT
// The program's main window Form1: its controls, its field access and its event procedures.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QWidget>

#include "core/window/field_access.h"
#include "ui/text_field.h"

class QCloseEvent;
class QContextMenuEvent;
class QScrollBar;

namespace fibmod {
struct RunState;
namespace ui {
class NativeWindowWatch;
}
} // namespace fibmod

// How often a running procedure lets the window catch up; the program runs
// with the defaults.
struct Form1Pacing {
    // While a run goes on, the widgets follow the kept texts at most this
    // often (once per screen frame).
    std::chrono::milliseconds refresh{16};
    // During a run the event loop gets a turn at most this often after the
    // first hand-over of a procedure; with 0 it gets one at every 64th
    // hand-over, whatever the clock says.
    std::chrono::milliseconds turn{4};
};

// The program's one window: fifteen text boxes, four buttons, a scroll bar
// and fifteen labels at fixed places, and the computation's real field access.
class Form1 : public QWidget, public fibmod::FieldAccess {
    Q_OBJECT

public:
    explicit Form1(Form1Pacing pacing = {}, QWidget* parent = nullptr);
    ~Form1() override;

    // Event procedures. Each is entered from Qt through the error boundary;
    // change procedures are also called directly by setText/setScrollValue.
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void HScroll1_Change();
    void Text2_Change();

    std::string getText(fibmod::FieldId field) override;
    void setText(fibmod::FieldId field, std::string_view text) override;
    void appendText(fibmod::FieldId field, std::string_view text) override;
    std::int16_t getScrollValue() override;
    void setScrollValue(std::int16_t value) override;
    void pumpEvents() override;
    void showMessage(std::string_view text) override;
    [[noreturn]] void endProgram() override;

    // Moves the scroll bar to `value` as a user's drag does, so that the
    // window computes that modulus. Shows nothing else.
    void moveScrollBar(int value);
    // When set, message boxes go to the hook instead of a person.
    void setMessageHook(std::function<void(const QString&)> hook);
    // Writes every text changed by code into its widget now.
    void refreshWidgets();

signals:
    // The user asked for the overview of every modulus: F2, or the context
    // menu on the window's background. The window itself shows nothing.
    void overviewRequested();
    // One of the nine input fields changed its text, by the user or by code.
    // Emitted inside the write, before the field's change procedure runs.
    void inputChanged();
    // A procedure entered from Qt began (true) or ended (false), outermost
    // only: while busy, the window computes.
    void busyChanged(bool busy);
    // The program ends now ("ende", or the window closed): other windows
    // save what they keep. Nothing may hold the end up.
    void ending();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Brings a box up to date before a user's edit lands in it; notes
    // whether the scroll bar is held.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The background offers the overview; the controls keep their own menus.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Thrown out of pumpEvents() and showMessage() when a handler nested
    // inside them failed and was reported: the interrupted procedures stop
    // without a second report.
    struct Abandoned {};

    void buildControls();
    void wireControls();
    // F2 for the overview; the background's menu is contextMenuEvent.
    void wireOverviewKey();
    // Emits inputChanged when the field is one of the nine inputs.
    void noteEdit(fibmod::FieldId id);
    template <class Procedure> void fromQt(Procedure&& procedure);
    // True while a message box is open: input that reaches the window then
    // is not acted on, and the control it changed is put back.
    bool heldByMessage() const { return messageOpen_; }
    void reportError(const QString& text);
    // Ends a press on a scroll bar arrow that is still held, so that it
    // stops repeating; does nothing otherwise.
    void letGoOfScrollArrow();
    void ask(const QString& text);
    void takeOverEdit(std::size_t slot);
    fibmod::ui::TextField& field(fibmod::FieldId id);
    void changed(fibmod::FieldId id);
    void setOuterWidth(int twips);
    void setOuterHeight(int twips);

    std::unique_ptr<fibmod::RunState> state_;
    std::vector<fibmod::ui::TextField> fields_;
    QScrollBar* scroll_ = nullptr;
    std::function<void(const QString&)> messageHook_;
    std::unique_ptr<fibmod::ui::NativeWindowWatch> nativeWatch_;

    bool messageOpen_ = false;
    // The left mouse button went down on the scroll bar and is not yet up.
    bool scrollHeld_ = false;
    int scrollUnderMessage_ = 0;

    int depth_ = 0;
    // Hand-overs still to pass before the clock is read again; whether the
    // current procedure from Qt gave the event loop a turn yet, and when.
    int handOversToSkip_ = 0;
    bool turnTaken_ = false;
    std::chrono::steady_clock::time_point lastTurn_{};
    long errorsReported_ = 0;
    bool refreshPosted_ = false;
    std::chrono::steady_clock::time_point lastRefresh_{};
    const Form1Pacing pacing_;
};
