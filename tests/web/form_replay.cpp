// SPDX-License-Identifier: MIT
// Replays a page's edits, scroll moves and clicks on the window's model in memory, for the page's tests.
//
// Reads one JSON array a line: ["edit", slot, text], ["scroll", value],
// ["click", n] (CommandN) or ["restart"]. After each it writes one JSON
// object a line: {"texts": the fifteen boxes by slot, "scroll", "messages":
// the action's messages in order, "ended"}.
#include <iostream>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "core/engine/run_time_error.h"
#include "core/window/cycles.h"
#include "core/window/event_chain.h"
#include "core/window/memory_fields.h"
#include "core/window/run_state.h"
#include "core/window/text_boxes.h"

namespace {

using fibmod::MemoryFields;
using fibmod::RunState;

// The window after its load: the design-time inputs taken over.
struct Run {
    Run() : fields(*state) { fibmod::ResetAndTakeOver(*state, fields); }

    std::unique_ptr<RunState> state = std::make_unique<RunState>();
    MemoryFields fields;
    bool ended = false;
};

void Act(Run& run, const nlohmann::json& step)
{
    const std::string what = step.at(0);
    if (what == "edit") {
        run.fields.setText(fibmod::BoxAtSlot(step.at(1).get<std::size_t>()), step.at(2).get<std::string>());
    } else if (what == "scroll") {
        run.fields.setScrollValue(step.at(1).get<std::int16_t>());
    } else if (what == "click") {
        switch (step.at(1).get<int>()) {
        case 1: fibmod::ShowCycles(*run.state, run.fields); break;
        case 2: run.fields.endProgram();
        case 3: fibmod::ResetAndTakeOver(*run.state, run.fields); break;
        case 4: fibmod::StepToNextStop(*run.state, run.fields); break;
        default: throw std::invalid_argument("no such button");
        }
    } else {
        throw std::invalid_argument("no such step: " + what);
    }
}

} // namespace

int main()
{
    auto run = std::make_unique<Run>();
    std::string line;
    while (std::getline(std::cin, line)) {
        const nlohmann::json step = nlohmann::json::parse(line);
        if (step.at(0) == "restart") {
            run = std::make_unique<Run>();
        } else if (!run->ended) {
            try {
                Act(*run, step);
            } catch (const fibmod::RunTimeError& error) {
                run->fields.messages.push_back(error.message());
            } catch (const fibmod::ProgramEnded&) {
                run->ended = true;
            }
        }
        nlohmann::json texts = nlohmann::json::array();
        for (std::size_t slot = 0; slot < fibmod::kTextBoxCount; ++slot)
            texts.push_back(run->fields.getText(fibmod::BoxAtSlot(slot)));
        const nlohmann::json out{{"texts", texts},
                                 {"scroll", run->fields.getScrollValue()},
                                 {"messages", run->fields.messages},
                                 {"ended", run->ended}};
        run->fields.messages.clear();
        std::cout << out.dump() << '\n' << std::flush;
    }
}
