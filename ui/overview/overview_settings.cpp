// SPDX-License-Identifier: MIT
// The overview's settings in the program's settings file.
#include "ui/overview/overview_settings.h"

#include <QCoreApplication>
#include <QSettings>

#include "core/engine/modulus_range.h"
#include "core/engine/term_bound.h"

namespace fibmod::overview {

namespace {

const char* const kGeometryKey = "overview/geometry";
const char* const kFromKey = "overview/from";
const char* const kToKey = "overview/to";
const char* const kMaxTermsKey = "overview/maxTerms";
const char* const kLogarithmicKey = "overview/logarithmic";

// The program's settings, in the file named for the organization as they
// always were (~/.config/fibmod/fibmod.conf): the main window's title names
// the application, and must not name the file.
QSettings Settings()
{
    const QString owner = QCoreApplication::organizationName();
    return QSettings(owner, owner);
}

} // namespace

OverviewSettings LoadOverviewSettings()
{
    QSettings settings = Settings();
    return {settings.value(QLatin1String(kFromKey), kModulusMin).toInt(),
            settings.value(QLatin1String(kToKey), kModulusMax).toInt(),
            settings.value(QLatin1String(kMaxTermsKey), static_cast<int>(*kWindowTermBound)).toInt(),
            settings.value(QLatin1String(kLogarithmicKey), false).toBool()};
}

void SaveOverviewRange(int from, int to, int maxTerms)
{
    QSettings settings = Settings();
    settings.setValue(QLatin1String(kFromKey), from);
    settings.setValue(QLatin1String(kToKey), to);
    settings.setValue(QLatin1String(kMaxTermsKey), maxTerms);
}

void SaveLogarithmic(bool logarithmic) { Settings().setValue(QLatin1String(kLogarithmicKey), logarithmic); }

QByteArray LoadOverviewGeometry() { return Settings().value(QLatin1String(kGeometryKey)).toByteArray(); }

void SaveOverviewGeometry(const QByteArray& geometry) { Settings().setValue(QLatin1String(kGeometryKey), geometry); }

} // namespace fibmod::overview
