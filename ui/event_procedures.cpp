// SPDX-License-Identifier: MIT
// The window's event procedures and what each one runs.
#include "core/window/cycles.h"
#include "core/window/event_chain.h"
#include "ui/control_table.h"
#include "ui/form1.h"

void Form1::Form_Load()
{
    fibmod::ResetAndTakeOver(*state_, *this);
    setOuterWidth(fibmod::ui::kOuterWidth);
    setOuterHeight(fibmod::ui::kOuterHeight);
}

void Form1::Command1_Click() { fibmod::ShowCycles(*state_, *this); }

void Form1::Command2_Click() { endProgram(); }

void Form1::Command3_Click() { fibmod::ResetAndTakeOver(*state_, *this); }

void Form1::Command4_Click() { fibmod::StepToNextStop(*state_, *this); }

void Form1::HScroll1_Change() { fibmod::ScrollChanged(*this); }

void Form1::Text2_Change() { fibmod::ModulusChanged(*state_, *this); }

// The outer size includes the frame where the window system has told us its
// size (before the first show it has not: then the client area gets the
// whole size). Either way the client area keeps room for every control.
void Form1::setOuterWidth(int twips)
{
    const int frame = frameGeometry().width() - width();
    resize(fibmod::ui::ClientExtent(twips, frame, fibmod::ui::kLayoutRight), height());
}

void Form1::setOuterHeight(int twips)
{
    const int frame = frameGeometry().height() - height();
    resize(width(), fibmod::ui::ClientExtent(twips, frame, fibmod::ui::kLayoutBottom));
}
