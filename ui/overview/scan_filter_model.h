// SPDX-License-Identifier: MIT
// Which of the scan's rows a view shows, and in which order.
#pragma once

#include <vector>

#include <QAbstractProxyModel>

namespace fibmod::overview {

class ScanTableModel;

// A sorting, filtering view of a ScanTableModel: every row, only the moduli
// where the stepping button stops (exactly one common residue, no error), or
// only the rows with a run-time error.
//
// It sorts by what the source keeps, never by text computed for the view:
// numbers as numbers (empty cells last), "Fehler" by its text, and "die
// Reste" by the residues kept, first residue first, the rows kept without
// them after those, by their count. Equal rows stay in ascending moduli.
//
// Rows appended to the source while sorted are merged in order, as one
// insertion at the end and one layout change per batch, so that a growing
// scan costs the view a pass over its order, not a sort, and the rows shown
// keep their selection. The source only appends rows and resets.
class ScanFilterModel : public QAbstractProxyModel {
    Q_OBJECT

public:
    enum class Rows { All, SingleCommon, Errors };

    explicit ScanFilterModel(ScanTableModel* source, Rows rows = Rows::All, QObject* parent = nullptr);

    // Refilters at once, keeping the order.
    void setRows(Rows rows);
    // Orders the rows by `column`; equal ones stay in ascending moduli.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return column_; }
    Qt::SortOrder sortOrder() const { return order_; }

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // Rows under the root only, none under a row.
    bool hasChildren(const QModelIndex& parent = {}) const override;
    // The source's column headings even when no row is shown.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    bool accepts(int sourceRow) const;
    // True when source row `a` goes before `b` in the present order.
    bool before(int a, int b) const;
    // The accepted source rows from `first` on, in the present order.
    std::vector<int> ordered(int first) const;
    // Makes `shown` the order and moves the persistent indexes with their
    // rows (between the layout signals).
    void relayout(std::vector<int> shown);
    void rebuildPositions();
    void sourceReset();
    void sourceAppended(int first, int last);
    void sourceChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles);

    ScanTableModel* source_;
    Rows rows_;
    int column_ = 0;
    Qt::SortOrder order_ = Qt::AscendingOrder;
    // The source rows shown, in order; and for each source row its place
    // there, -1 when filtered out.
    std::vector<int> shown_;
    std::vector<int> position_;
};

} // namespace fibmod::overview
