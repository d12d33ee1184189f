// SPDX-License-Identifier: MIT
// Qt's own texts (file dialogs, their questions and buttons) in German, whatever the user's locale.
#pragma once

class QCoreApplication;
class QTranslator;

namespace fibmod::ui {

// Makes German the default locale and installs Qt's German translations
// (qtbase_de from Qt's translations folder) into `app`, whatever locale the
// user has. Returns the translator installed, owned by `app`; none when the
// translations are not installed: Qt then speaks English in its dialogs,
// and the program's own texts stay German.
QTranslator* SpeakGerman(QCoreApplication& app);

} // namespace fibmod::ui
