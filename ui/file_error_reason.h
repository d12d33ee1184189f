// SPDX-License-Identifier: MIT
// Why a file could not be written, in German and as the system gave it.
#pragma once

#include <QString>

class QFileDevice;

namespace fibmod::ui {

// The German text for a system error number: "Datei oder Verzeichnis nicht
// gefunden" (ENOENT), "Keine Berechtigung" (EACCES, EPERM), "Kein
// Verzeichnis" (ENOTDIR), "Kein Speicherplatz mehr" (ENOSPC, EDQUOT),
// "Schreibgeschützt" (EROFS), "Ein-/Ausgabefehler" (EIO), "Ist ein
// Verzeichnis" (EISDIR), and "Unbekannter Fehler" for the rest (0 too).
QString FileErrorReason(int errorNumber);

// Why writing `file` at `path` failed: the folder or the file as the system
// answers for them now (missing, not a folder, no permission, read-only),
// else the error the file reported while it was written (a full disk, an
// input/output error). An existing file is never reported as not found.
QString WriteFailureReason(const QString& path, const QFileDevice& file);

} // namespace fibmod::ui
