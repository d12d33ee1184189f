#include <QApplication>

#include "ui/control_table.h"
#include "ui/form1.h"
#include "ui/overview/overview_window.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Only the name, not a display name: Qt would append a display name to
    // the window's caption on some platforms.
    QApplication::setApplicationName(fibmod::ui::ToQString(fibmod::ui::kApplicationTitle));
    QApplication::setDesktopFileName(QStringLiteral("fibmod"));
    Form1 window;
    fibmod::overview::OfferOverview(window);
    window.show();
    return QApplication::exec();
}
