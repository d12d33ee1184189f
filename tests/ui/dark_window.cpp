// SPDX-License-Identifier: MIT
// The program's window under a dark colour scheme, for the screenshot in
// docs/: the scheme is set on the application before the window is made,
// as a platform theme does.
#include <QApplication>

#include "tests/ui/dark_palette.h"
#include "ui/control_table.h"
#include "ui/form1.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(fibmod::ui::ToQString(fibmod::ui::kApplicationTitle));
    QApplication::setPalette(fibmod::testing::DarkPalette());
    Form1 window;
    window.show();
    return QApplication::exec();
}
