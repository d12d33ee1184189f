// SPDX-License-Identifier: MIT
// One run of the form on the page: its procedures behind the page's events, errors turned into messages.
#include "web/form_session.h"

#include <exception>
#include <stdexcept>
#include <utility>

#include "core/engine/run_time_error.h"
#include "core/window/cycles.h"
#include "core/window/event_chain.h"
#include "core/window/text_boxes.h"

namespace fibmod::web {

FormSession::FormSession() : state_(std::make_unique<RunState>()), fields_(*state_)
{
    run([this] { ResetAndTakeOver(*state_, fields_); });
}

template <class Action> void FormSession::run(Action&& action)
{
    if (ended_) return;
    try {
        std::forward<Action>(action)();
    } catch (const RunTimeError& error) {
        fields_.messages.push_back(error.message());
    } catch (const ProgramEnded&) {
        ended_ = true;
    } catch (const std::exception& error) {
        fields_.messages.push_back(std::string("Interner Fehler: ") + error.what());
    }
}

void FormSession::edit(int slot, std::string_view text)
{
    run([&] { fields_.setText(BoxAtSlot(static_cast<std::size_t>(slot)), text); });
}

void FormSession::scroll(int value)
{
    run([&] { fields_.setScrollValue(static_cast<std::int16_t>(value)); });
}

void FormSession::click(int command)
{
    run([&] {
        switch (command) {
        case 1: ShowCycles(*state_, fields_); break;
        case 2: fields_.endProgram();
        case 3: ResetAndTakeOver(*state_, fields_); break;
        case 4: StepToNextStop(*state_, fields_); break;
        default: throw std::out_of_range("no such button");
        }
    });
}

std::string FormSession::text(int slot)
{
    if (slot < 0 || static_cast<std::size_t>(slot) >= kTextBoxCount) return {};
    return fields_.getText(BoxAtSlot(static_cast<std::size_t>(slot)));
}

std::int16_t FormSession::scrollValue() { return fields_.getScrollValue(); }

std::vector<std::string> FormSession::takeMessages() { return std::exchange(fields_.messages, {}); }

} // namespace fibmod::web
