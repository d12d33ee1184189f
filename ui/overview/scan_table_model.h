// SPDX-License-Identifier: MIT
// The scan's rows as a Qt item model, kept within a memory budget, for the overview's table and chart.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QAbstractTableModel>

#include "core/engine/row_columns.h"
#include "core/engine/scan.h"
#include "ui/overview/kept_rows.h"
#include "ui/overview/overview_texts.h"
#include "ui/overview/residue_lookup.h"

namespace fibmod::overview {

// The scan's rows as a table, one row per modulus in ascending order. It
// feeds both the overview's table (through a sorting proxy) and the chart,
// so the two always show the same rows. It grows as a scan hands on its rows.
//
// Every row's figures are kept, its residues only within the budget (see
// ResidueBudget); a row kept without them computes them again where they
// are needed: "die Reste" shows the count until the worker has them, row()
// computes them at once.
//
// Display data are numbers (int) where the column holds a number, so that
// sorting is numeric; a row with a run-time error has no lengths and no
// count, only the message in "Fehler".
class ScanTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The engine's six columns in the engine's order (RowColumn), under the
    // overview's own headings.
    enum Column {
        Modulus = static_cast<int>(RowColumn::Modulus),
        Length1 = static_cast<int>(RowColumn::Length1),
        Length2 = static_cast<int>(RowColumn::Length2),
        CommonCount = static_cast<int>(RowColumn::CommonCount),
        Residues = static_cast<int>(RowColumn::CommonResidues),
        Error = static_cast<int>(RowColumn::Error),
        ColumnCount = static_cast<int>(kRowColumns.size())
    };

    // Rows keep their residues within `budget`.
    explicit ScanTableModel(ResidueBudget budget = {}, QObject* parent = nullptr);

    // How many of the rows are of each kind the summary counts.
    using Tally = RowTally;

    // Replaces every row at once (one model reset) and gives the memory of
    // the old ones back to the system. `again` computes a row whose residues
    // are not kept; without it such rows show only their count.
    void setRows(std::vector<ScanRow> rows, RowSource again = {});
    // Appends rows that follow the last one (one insertion).
    void appendRows(const std::vector<ScanRow>& rows);
    const Tally& tally() const { return tally_; }
    // The rows as kept: figures for every row, residues within the budget.
    const KeptRows& kept() const { return rows_; }
    // The figures of the row at `row`; the index must be valid.
    RowFigures figures(int row) const { return rows_.figures(static_cast<std::size_t>(row)); }
    // The whole row at `row`, its residues computed again when not kept.
    ScanRow row(int row) const;
    // The position of `modulus`, or none.
    std::optional<int> find(std::int64_t modulus) const;

    // A flat table: no rows or columns under a valid parent, an empty
    // QVariant for an invalid index or an unused role. Numbers align right.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString residuesText(int row) const;

    KeptRows rows_;
    RowSource again_;
    Tally tally_;
    ResidueLookup* lookup_ = nullptr;
};

} // namespace fibmod::overview
