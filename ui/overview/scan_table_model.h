// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include <QAbstractTableModel>

#include "core/scan.h"

namespace fibmod::overview {

// The scan's rows as a table, one row per modulus in ascending order. It
// feeds both the overview's table (through a sorting proxy) and the chart's
// series (through model mappers), so the two always show the same rows.
//
// Display data are numbers (int) where the column holds a number, so that
// sorting is numeric; a row with a run-time error has no lengths and no
// count, only the message in "Fehler".
class ScanTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Modulus, Length1, Length2, CommonCount, Residues, Error, ColumnCount };

    explicit ScanTableModel(QObject* parent = nullptr);

    // Replaces every row at once (one model reset).
    void setRows(std::vector<ScanRow> rows);
    const std::vector<ScanRow>& rows() const { return rows_; }
    // The row at `row`; the index must be valid.
    const ScanRow& rowAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

    // A flat table: no rows or columns under a valid parent, an empty
    // QVariant for an invalid index or an unused role. Numbers align right.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<ScanRow> rows_;
};

} // namespace fibmod::overview
