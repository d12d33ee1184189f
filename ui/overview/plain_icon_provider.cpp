// SPDX-License-Identifier: MIT
// A file dialog's icons without reading the files.
#include "ui/overview/plain_icon_provider.h"

#include <QFileInfo>
#include <QMimeDatabase>

namespace fibmod::overview {

QIcon PlainIconProvider::icon(IconType type) const { return QFileIconProvider::icon(type); }

QIcon PlainIconProvider::icon(const QFileInfo& info) const
{
    if (info.isRoot()) return icon(Drive);
    if (info.isDir()) return icon(Folder);
    return icon(File);
}

QString PlainIconProvider::type(const QFileInfo& info) const
{
    if (info.isRoot()) return QStringLiteral("Laufwerk");
    if (info.isDir()) return QStringLiteral("Ordner");
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
}

} // namespace fibmod::overview
