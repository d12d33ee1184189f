// SPDX-License-Identifier: MIT
// Which of the scan's rows a view shows, and in which order.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include <QAbstractProxyModel>
#include <QElapsedTimer>

class QTimer;

namespace fibmod::overview {

class KeptRows;
class ScanTableModel;

// A sorting, filtering view of a ScanTableModel: every row, only the moduli
// where the stepping button stops (exactly one common residue, no error), or
// only the rows with a run-time error.
//
// It sorts by what the source keeps, never by text computed for the view:
// numbers as numbers (empty cells last, in either order), "Fehler" by its text, and "die
// Reste" by the residues kept, first residue first, the rows kept without
// them after those, by their count. Equal rows stay in ascending moduli.
//
// The order is a flat array of sort keys, one per row shown: the sorted
// column's number and the source row. Rows appended to the source that land
// at the end (the moduli ascending, say) are shown at once. Others are
// merged in at most once per `mergeInterval`, all that came meanwhile at
// once, as one insertion at the end and one layout change; until then the
// view shows the rows before them. So a growing scan costs the view one
// pass over its keys a second, never a sort per batch. The source only
// appends rows and resets.
class ScanFilterModel : public QAbstractProxyModel {
    Q_OBJECT

public:
    enum class Rows { All, SingleCommon, Errors };

    // How often rows that land inside a sorted view are merged in.
    static constexpr std::chrono::milliseconds kMergeInterval{1000};

    explicit ScanFilterModel(ScanTableModel* source, Rows rows = Rows::All,
                             std::chrono::milliseconds mergeInterval = kMergeInterval, QObject* parent = nullptr);

    // Refilters at once, keeping the order.
    void setRows(Rows rows);
    // Orders the rows by `column`; equal ones stay in ascending moduli.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return column_; }
    Qt::SortOrder sortOrder() const { return order_; }
    // Shows at once every row the source has (at the end of a scan).
    void catchUp();

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    // Rows waiting to be merged in map to an invalid index.
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
    // A row's place in the order: a number from the sorted column (negated
    // when descending) and the source row. Where the number cannot tell two
    // cells apart ("Fehler", "die Reste"), the cells themselves decide.
    struct Key {
        std::int64_t primary;
        int row;
    };

    bool accepts(int sourceRow) const;
    Key keyOf(int sourceRow) const;
    bool before(const Key& a, const Key& b) const;
    // The keys of the accepted source rows from `first` on, in order.
    std::vector<Key> ordered(int first) const;
    // Merges the rows the source has beyond merged_ into the order.
    void mergePending();
    // Shows the accepted source rows from merged_ on at the end, unordered
    // until the caller reorders them.
    void appendPending();
    // Runs `change` on the order between the layout signals and moves the
    // persistent indexes with their rows.
    template <class Change> void reorder(Change&& change);
    void sourceReset();
    void sourceAppended(int first, int last);
    void sourceChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles);

    ScanTableModel* source_;
    const KeptRows* kept_;
    Rows rows_;
    int column_ = 0;
    Qt::SortOrder order_ = Qt::AscendingOrder;
    // The accepted rows among the source's first merged_, in order.
    std::vector<Key> keys_;
    int merged_ = 0;
    std::chrono::milliseconds mergeInterval_;
    QElapsedTimer sinceMerge_;
    QTimer* mergeTimer_ = nullptr;
};

} // namespace fibmod::overview
