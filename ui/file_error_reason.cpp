// SPDX-License-Identifier: MIT
// The German reasons of failed file operations, found from what the system says.
#include "ui/file_error_reason.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include <QFileDevice>
#include <QFileInfo>

namespace fibmod::ui {

namespace {

// The error number behind a file's error text: Qt words it as
// qt_error_string() does, so the same words name the same number.
int ReportedError(const QFileDevice& file)
{
    if (file.error() == QFileDevice::ResourceError) return ENOSPC;
    const QString reported = file.errorString();
    for (const int number : {ENOSPC, EDQUOT, EROFS, EIO, EACCES, EPERM, ENOTDIR, EISDIR, ENOENT}) {
        if (reported.contains(qt_error_string(number))) return number;
    }
    return 0;
}

// What the system says now about writing at `path`; 0 when it would allow it.
int SystemAnswer(const QByteArray& path, const QByteArray& folder)
{
    struct stat status {};
    if (::stat(folder.constData(), &status) != 0) return errno;
    if (!S_ISDIR(status.st_mode)) return ENOTDIR;
    if (::stat(path.constData(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) return EISDIR;
        return ::access(path.constData(), W_OK) == 0 ? 0 : errno;
    }
    return ::access(folder.constData(), W_OK | X_OK) == 0 ? 0 : errno;
}

} // namespace

QString FileErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT: return QStringLiteral("Datei oder Verzeichnis nicht gefunden");
    case EACCES:
    case EPERM: return QStringLiteral("Keine Berechtigung");
    case ENOTDIR: return QStringLiteral("Kein Verzeichnis");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("Kein Speicherplatz mehr");
    case EROFS: return QStringLiteral("Schreibgeschützt");
    case EIO: return QStringLiteral("Ein-/Ausgabefehler");
    case EISDIR: return QStringLiteral("Ist ein Verzeichnis");
    default: return QStringLiteral("Unbekannter Fehler");
    }
}

QString WriteFailureReason(const QString& path, const QFileDevice& file)
{
    const QFileInfo info(path);
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    int number = SystemAnswer(name, folder);
    if (number == 0) number = ReportedError(file);
    // The temporary file beside it may be what was not found, never the file itself.
    if (number == ENOENT && info.exists()) number = 0;
    return FileErrorReason(number);
}

} // namespace fibmod::ui
