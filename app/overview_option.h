// SPDX-License-Identifier: MIT
#pragma once

class Form1;

namespace fibmod::app {

// What --overview does: opens the overview window beside the main window.
// The one place where the program reaches the overview window.
void OpenOverviewBeside(Form1& window);

}  // namespace fibmod::app
