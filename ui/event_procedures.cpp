// SPDX-License-Identifier: MIT
// The window's event procedures and what each one runs.
#include <algorithm>
#include <cstdint>

#include "ui/control_table.h"
#include "core/cycles.h"
#include "core/modulus_range.h"
#include "ui/form1.h"
#include "core/number_rules.h"

using fibmod::ui::Px;

void Form1::Form_Load()
{
    fibmod::ResetAndTakeOver(*state_, *this);
    setOuterWidth(fibmod::ui::kOuterWidth);
    setOuterHeight(fibmod::ui::kOuterHeight);
}

void Form1::Command1_Click() { fibmod::ShowCycles(*state_, *this); }

void Form1::Command2_Click() { endProgram(); }

void Form1::Command3_Click() { fibmod::ResetAndTakeOver(*state_, *this); }

// Steps the scroll bar up, one modulus at a time, until exactly one residue
// is common; every step recomputes through the scroll bar's change chain.
void Form1::Command4_Click()
{
    for (;;) {
        if (getScrollValue() >= fibmod::kModulusMax) {
            showMessage(fibmod::kModulusLimitMessage);
            return;
        }
        setScrollValue(static_cast<std::int16_t>(getScrollValue() + 1));
        // A "cls" during the step leaves no count of this modulus to read.
        if (!fibmod::CountIsCurrent(*state_)) return;
        if (fibmod::ValueOfText(getText(fibmod::Text3(2))) == 1) return;
    }
}

void Form1::HScroll1_Change() { setText(fibmod::Text2, fibmod::IntegerText(getScrollValue())); }

void Form1::Text2_Change()
{
    fibmod::ResetAndTakeOver(*state_, *this);
    fibmod::ShowCycles(*state_, *this);
}

// The outer size includes the frame where the window system has told us its
// size (before the first show it has not: then the client area gets the
// whole size). Either way the client area keeps room for every control.
void Form1::setOuterWidth(int twips)
{
    const int frame = frameGeometry().width() - width();
    resize(std::max(Px(twips) - frame, Px(fibmod::ui::kLayoutRight)), height());
}

void Form1::setOuterHeight(int twips)
{
    const int frame = frameGeometry().height() - height();
    resize(width(), std::max(Px(twips) - frame, Px(fibmod::ui::kLayoutBottom)));
}
