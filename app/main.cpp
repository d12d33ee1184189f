// SPDX-License-Identifier: MIT
// The window program: its options, German from Qt too, the main window and the overview.
#include <QApplication>
#include <QCoreApplication>
#include <QString>

#include "app/command_line.h"
#include "ui/control_table.h"
#include "ui/form1.h"
#include "ui/german_qt.h"
#include "ui/overview/overview_window.h"
#include "version/version.h"

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationVersion(QString::fromLatin1(fibmod::kVersion));
    fibmod::app::CommandLine command_line;

    // The help and the version are plain text: no window, no display.
    if (command_line.AsksForText(fibmod::app::ArgumentsOf(argc, argv))) {
        QCoreApplication text_only(argc, argv);
        command_line.Process(text_only);
    }

    QApplication app(argc, argv);
    command_line.Process(app);
    // Only the name, not a display name: Qt would append a display name to
    // the window's caption on some platforms.
    QApplication::setApplicationName(fibmod::ui::ToQString(fibmod::ui::kApplicationTitle));
    // Settings live in ~/.config/fibmod/fibmod.conf, named for the organization.
    QApplication::setOrganizationName(QStringLiteral("fibmod"));
    QApplication::setDesktopFileName(QStringLiteral(FIBMOD_DESKTOP_ID));
    // Qt's dialogs speak German as the program does, whatever the locale.
    fibmod::ui::SpeakGerman(app);
    Form1 window;
    fibmod::overview::OfferOverview(window);
    window.show();
    if (command_line.Overview()) fibmod::overview::OpenOverview(window);
    return QApplication::exec();
}
