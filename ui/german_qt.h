// SPDX-License-Identifier: MIT
// Qt's own texts (file dialogs, their questions and buttons) in German, whatever the user's locale.
#pragma once

class QCoreApplication;

namespace fibmod::ui {

// Makes German the default locale and installs Qt's German translations
// (qtbase_de from Qt's translations folder) into `app`, whatever locale the
// user has. False when the translations are not installed: Qt then speaks
// English in its dialogs, and the program's own texts stay German.
bool SpeakGerman(QCoreApplication& app);

} // namespace fibmod::ui
