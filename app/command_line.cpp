// SPDX-License-Identifier: MIT
// The window program's command-line options, read with Qt's parser.
#include "app/command_line.h"

#include <QCoreApplication>
#include <QString>

namespace fibmod::app {

CommandLine::CommandLine()
    : overview_(QStringLiteral("overview"),
                QStringLiteral("Öffnet neben dem Hauptfenster das Übersichtsfenster."))
{
    parser_.setApplicationDescription(QStringLiteral(
        "Fibonaccifolgen: zwei lineare Rekursionen a(n+1) = r*a(n) + s*a(n-1)\n"
        "modulo M vergleichen. Ohne Optionen öffnet sich das Fenster mit den\n"
        "Vorgabewerten."));
    parser_.addHelpOption();
    parser_.addVersionOption();
    parser_.addOption(overview_);
}

bool CommandLine::AsksForText(const QStringList& arguments)
{
    // Unknown options are left to Process: Qt's own, such as -platform, are
    // only known once the application object has taken them out.
    parser_.parse(arguments);
    return parser_.isSet(QStringLiteral("help")) || parser_.isSet(QStringLiteral("help-all")) ||
           parser_.isSet(QStringLiteral("version"));
}

void CommandLine::Process(const QCoreApplication& app) { parser_.process(app); }

bool CommandLine::Overview() const { return parser_.isSet(overview_); }

QStringList ArgumentsOf(int argc, const char* const* argv)
{
    QStringList arguments;
    arguments.reserve(argc);
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

}  // namespace fibmod::app
