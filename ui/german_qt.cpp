// SPDX-License-Identifier: MIT
// Loads Qt's German translations and makes German the default locale.
#include "ui/german_qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace fibmod::ui {

QTranslator* SpeakGerman(QCoreApplication& app)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Owned by the application, so that it lives as long as the texts it gives.
    auto* qt = new QTranslator(&app);
    if (!qt->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return nullptr;
    }
    QCoreApplication::installTranslator(qt);
    return qt;
}

} // namespace fibmod::ui
