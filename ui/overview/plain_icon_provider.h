// SPDX-License-Identifier: MIT
// File dialog icons that never read a file.
#pragma once

#include <QFileIconProvider>

namespace fibmod::overview {

// Icons and type names for a file dialog that never read a file: by kind
// (folder, file, drive) and by the name's extension. Qt's own provider reads
// a file's first bytes to tell its type, which blocks for ever on files
// such as /proc/kmsg.
class PlainIconProvider : public QFileIconProvider {
public:
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

} // namespace fibmod::overview
