// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include <QAbstractTableModel>

#include "core/engine/scan.h"

namespace fibmod::overview {

// The scan's rows as a table, one row per modulus in ascending order. It
// feeds both the overview's table (through a sorting proxy) and the chart,
// so the two always show the same rows. It grows as a scan hands on its rows.
//
// Display data are numbers (int) where the column holds a number, so that
// sorting is numeric; a row with a run-time error has no lengths and no
// count, only the message in "Fehler".
class ScanTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Modulus, Length1, Length2, CommonCount, Residues, Error, ColumnCount };

    explicit ScanTableModel(QObject* parent = nullptr);

    // How many of the rows are of each kind the summary counts.
    struct Tally {
        std::int64_t singleCommon = 0;
        std::int64_t runTimeErrors = 0;
        std::int64_t neverRecurring = 0;
    };

    // Replaces every row at once (one model reset).
    void setRows(std::vector<ScanRow> rows);
    // Appends rows that follow the last one (one insertion).
    void appendRows(const std::vector<ScanRow>& rows);
    const std::vector<ScanRow>& rows() const { return rows_; }
    const Tally& tally() const { return tally_; }
    // The row of `modulus`, or none.
    const ScanRow* find(std::int64_t modulus) const;
    // The row at `row`; the index must be valid.
    const ScanRow& rowAt(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

    // A flat table: no rows or columns under a valid parent, an empty
    // QVariant for an invalid index or an unused role. Numbers align right.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void count(const ScanRow& row);

    std::vector<ScanRow> rows_;
    Tally tally_;
};

} // namespace fibmod::overview
