// SPDX-License-Identifier: MIT
// Which of the scan's rows a view shows, and in which order.
#pragma once

#include <QSortFilterProxyModel>

namespace fibmod::overview {

class ScanTableModel;

// A sorting, filtering view of a ScanTableModel: every row, only the moduli
// where the stepping button stops (exactly one common residue, no error), or
// only the rows with a run-time error.
class ScanFilterModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    enum class Rows { All, SingleCommon, Errors };

    explicit ScanFilterModel(ScanTableModel* source, Rows rows = Rows::All, QObject* parent = nullptr);

    // Refilters at once.
    void setRows(Rows rows);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    // Numbers as numbers; "die Reste" by the residues kept (see the source).
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    ScanTableModel* source_;
    Rows rows_;
};

} // namespace fibmod::overview
