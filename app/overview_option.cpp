// SPDX-License-Identifier: MIT
#include "app/overview_option.h"

#include <cstdio>

namespace fibmod::app {

void OpenOverviewBeside(Form1& /*window*/)
{
    // This build has no overview window: say so and go on with the main
    // window alone.
    std::fputs("fibmod: Das Übersichtsfenster ist in dieser Ausgabe nicht enthalten.\n", stderr);
}

}  // namespace fibmod::app
