// SPDX-License-Identifier: MIT
// The multi-line text box of the main window's listings.
#pragma once

#include <QPlainTextEdit>

class QMimeData;

namespace fibmod::ui {

// A multi-line text box: a vertical scroll bar only, long lines wrapped at
// the box's width, every line aligned alike. It takes any amount of text,
// and a paste or drop with no text to insert leaves it as it is.
class ListingBox : public QPlainTextEdit {
    Q_OBJECT

public:
    ListingBox(QWidget* parent, Qt::Alignment align);

protected:
    // When the clipboard's owner has quit, X11 clipboard data has no format
    // at all, and Qt's own insertion crashes on it; on other platforms an
    // empty clipboard may hand out no data. Every paste, drop and
    // middle-click insertion of the box comes through here.
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace fibmod::ui
