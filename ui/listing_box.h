#pragma once

#include <QPlainTextEdit>

class QMimeData;

namespace fibmod::ui {

// A multi-line text box: a vertical scroll bar only, long lines wrapped at
// the box's width, every line aligned alike. It takes any amount of text,
// and a paste or drop with nothing to insert leaves it as it is.
class ListingBox : public QPlainTextEdit {
    Q_OBJECT

public:
    ListingBox(QWidget* parent, Qt::Alignment align);

protected:
    // The clipboard hands out no data at all when it is empty or its owner
    // has quit; Qt's own paste would use it regardless.
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace fibmod::ui
