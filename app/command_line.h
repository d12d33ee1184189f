// SPDX-License-Identifier: MIT
// The window program's command-line options.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

class QCoreApplication;

namespace fibmod::app {

// The program's options: --help, --version and --overview.
class CommandLine {
public:
    CommandLine();

    // True when the arguments ask for the help or the version text. Needs no
    // application object, so that the answer can come before any display is
    // opened.
    bool AsksForText(const QStringList& arguments);

    // Reads the application's arguments. Prints the help, the version or an
    // error about unknown options and ends the program when they ask for it.
    void Process(const QCoreApplication& app);

    // After Process: whether the overview window opens beside the window.
    bool Overview() const;

private:
    QCommandLineParser parser_;
    QCommandLineOption overview_;
};

// argv as Qt's arguments, before any application object exists.
QStringList ArgumentsOf(int argc, const char* const* argv);

}  // namespace fibmod::app
