// SPDX-License-Identifier: MIT
// Which of the scan's rows a view shows, and in which order: a flat array of sort keys, new rows merged in at most once a second.
#include "ui/overview/scan_filter_model.h"

#include <algorithm>
#include <compare>
#include <limits>
#include <span>
#include <string_view>
#include <utility>

#include <QTimer>

#include "ui/overview/kept_rows.h"
#include "ui/overview/scan_table_model.h"
#include "ui/qt_boundary.h"

namespace fibmod::overview {

namespace {

// The number of an empty cell: after every other, ascending.
constexpr std::int64_t kEmptyCell = std::numeric_limits<std::int64_t>::max();
// Rows kept without their residues sort after those kept, by their count;
// a residue is below 2^31.
constexpr std::int64_t kResiduesNotKept = std::int64_t{1} << 40;

// The number that orders a cell of `column`, ascending; cells with the same
// number may still differ where CompareTied says so.
std::int64_t Primary(const KeptRows& rows, int column, std::size_t at)
{
    const RowFigures x = rows.figures(at);
    switch (column) {
    case ScanTableModel::Modulus: return x.modulus;
    case ScanTableModel::Length1: return x.failed() ? kEmptyCell : x.length1;
    case ScanTableModel::Length2: return x.failed() ? kEmptyCell : x.length2;
    case ScanTableModel::CommonCount: return x.failed() ? kEmptyCell : x.commonCount;
    // The rows without an error (an empty text) first.
    case ScanTableModel::Error: return x.failed() ? 1 : 0;
    case ScanTableModel::Residues: {
        if (!rows.residuesKept(at)) return kResiduesNotKept + x.commonCount;
        const std::span<const std::uint32_t> residues = rows.keptResidues(at);
        return residues.empty() ? -1 : residues.front();
    }
    default: return 0;
    }
}

// The order of two cells of `column` whose Primary is the same, ascending.
std::weak_ordering CompareTied(const KeptRows& rows, int column, std::size_t a, std::size_t b)
{
    if (column == ScanTableModel::Error) {
        const RowFigures x = rows.figures(a);
        const RowFigures y = rows.figures(b);
        const std::string_view p = x.failed() ? std::string_view(x.failure->message) : std::string_view();
        const std::string_view q = y.failed() ? std::string_view(y.failure->message) : std::string_view();
        return p <=> q;
    }
    if (column == ScanTableModel::Residues) {
        const std::span<const std::uint32_t> p = rows.keptResidues(a);
        const std::span<const std::uint32_t> q = rows.keptResidues(b);
        return std::lexicographical_compare_three_way(p.begin(), p.end(), q.begin(), q.end());
    }
    return std::weak_ordering::equivalent;
}

} // namespace

ScanFilterModel::ScanFilterModel(ScanTableModel* source, Rows rows, std::chrono::milliseconds mergeInterval,
                                 QObject* parent)
    : QAbstractProxyModel(parent), source_(source), kept_(&source->kept()), rows_(rows), mergeInterval_(mergeInterval)
{
    mergeTimer_ = new QTimer(this);
    mergeTimer_->setSingleShot(true);
    connect(mergeTimer_, &QTimer::timeout, this, [this] { ui::AtQtBoundary("sorting", [this] { mergePending(); }); });
    QAbstractProxyModel::setSourceModel(source);
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(source, &QAbstractItemModel::modelReset, this, [this] { sourceReset(); });
    connect(source, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { sourceAppended(first, last); });
    connect(source, &QAbstractItemModel::dataChanged, this, &ScanFilterModel::sourceChanged);
    connect(source, &QAbstractItemModel::headerDataChanged, this, &QAbstractItemModel::headerDataChanged);
    beginResetModel();
    sourceReset();
}

void ScanFilterModel::setRows(Rows rows)
{
    if (rows == rows_) return;
    beginResetModel();
    rows_ = rows;
    sourceReset();
}

void ScanFilterModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ScanTableModel::ColumnCount) return;
    appendPending();
    // A sort counts as a merge.
    sinceMerge_.start();
    column_ = column;
    order_ = order;
    reorder([this] {
        for (Key& key : keys_) key = keyOf(key.row);
        std::sort(keys_.begin(), keys_.end(), [this](const Key& a, const Key& b) { return before(a, b); });
    });
}

void ScanFilterModel::catchUp()
{
    if (merged_ < source_->rowCount()) mergePending();
}

bool ScanFilterModel::accepts(int sourceRow) const
{
    const auto at = static_cast<std::size_t>(sourceRow);
    switch (rows_) {
    case Rows::All: return true;
    case Rows::SingleCommon: return kept_->singleCommon(at);
    case Rows::Errors: return kept_->figures(at).failed();
    }
    return true;
}

ScanFilterModel::Key ScanFilterModel::keyOf(int sourceRow) const
{
    const std::int64_t primary = Primary(*kept_, column_, static_cast<std::size_t>(sourceRow));
    // An empty number cell stays last in either order.
    return {order_ == Qt::AscendingOrder || primary == kEmptyCell ? primary : -primary, sourceRow};
}

bool ScanFilterModel::before(const Key& a, const Key& b) const
{
    if (a.primary != b.primary) return a.primary < b.primary;
    if (column_ == ScanTableModel::Error || column_ == ScanTableModel::Residues) {
        const std::weak_ordering cells =
            CompareTied(*kept_, column_, static_cast<std::size_t>(a.row), static_cast<std::size_t>(b.row));
        if (cells != 0) return order_ == Qt::AscendingOrder ? cells < 0 : cells > 0;
    }
    return a.row < b.row;
}

std::vector<ScanFilterModel::Key> ScanFilterModel::ordered(int first) const
{
    std::vector<Key> keys;
    for (int row = first; row < source_->rowCount(); ++row)
        if (accepts(row)) keys.push_back(keyOf(row));
    std::sort(keys.begin(), keys.end(), [this](const Key& a, const Key& b) { return before(a, b); });
    return keys;
}

void ScanFilterModel::appendPending()
{
    std::vector<int> added;
    for (int row = merged_; row < source_->rowCount(); ++row)
        if (accepts(row)) added.push_back(row);
    merged_ = source_->rowCount();
    mergeTimer_->stop();
    if (added.empty()) return;
    const auto at = static_cast<int>(keys_.size());
    beginInsertRows({}, at, at + static_cast<int>(added.size()) - 1);
    for (const int row : added) keys_.push_back({0, row});
    endInsertRows();
}

void ScanFilterModel::mergePending()
{
    mergeTimer_->stop();
    sinceMerge_.start();
    std::vector<Key> added = ordered(merged_);
    merged_ = source_->rowCount();
    if (added.empty()) return;
    const std::size_t old = keys_.size();
    beginInsertRows({}, static_cast<int>(old), static_cast<int>(old + added.size()) - 1);
    keys_.insert(keys_.end(), added.begin(), added.end());
    endInsertRows();
    if (old == 0 || !before(keys_[old], keys_[old - 1])) return;
    // Two sorted runs: only the rows after the first place a new one lands
    // move, and the buffer is the new rows' size.
    reorder([this, old] {
        std::inplace_merge(keys_.begin(), keys_.begin() + static_cast<std::ptrdiff_t>(old), keys_.end(),
                           [this](const Key& a, const Key& b) { return before(a, b); });
    });
}

template <class Change> void ScanFilterModel::reorder(Change&& change)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList from = persistentIndexList();
    std::vector<int> sources;
    sources.reserve(static_cast<std::size_t>(from.size()));
    for (const QModelIndex& index : from) sources.push_back(keys_[static_cast<std::size_t>(index.row())].row);
    change();
    QModelIndexList to;
    to.reserve(from.size());
    for (qsizetype at = 0; at < from.size(); ++at)
        to << mapFromSource(source_->index(sources[static_cast<std::size_t>(at)], from[at].column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// Between beginResetModel() and here: the order of the source's rows anew.
void ScanFilterModel::sourceReset()
{
    mergeTimer_->stop();
    keys_ = ordered(0);
    keys_.shrink_to_fit();
    merged_ = source_->rowCount();
    endResetModel();
}

void ScanFilterModel::sourceAppended(int first, int last)
{
    if (merged_ == first) {
        // Nothing waits and the new rows land at the end: shown at once.
        std::vector<Key> added = ordered(first);
        if (added.empty() || keys_.empty() || !before(added.front(), keys_.back())) {
            merged_ = last + 1;
            if (added.empty()) return;
            const auto at = static_cast<int>(keys_.size());
            beginInsertRows({}, at, at + static_cast<int>(added.size()) - 1);
            keys_.insert(keys_.end(), added.begin(), added.end());
            endInsertRows();
            return;
        }
    }
    if (mergeTimer_->isActive()) return;
    const auto since = std::chrono::milliseconds(sinceMerge_.isValid() ? sinceMerge_.elapsed() : mergeInterval_.count());
    if (since >= mergeInterval_)
        mergePending();
    else
        mergeTimer_->start(mergeInterval_ - since);
}

void ScanFilterModel::sourceChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        const QModelIndex left = mapFromSource(topLeft.siblingAtRow(row));
        if (left.isValid()) emit dataChanged(left, left.siblingAtColumn(bottomRight.column()), roles);
    }
}

QModelIndex ScanFilterModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || proxyIndex.model() != this || static_cast<std::size_t>(proxyIndex.row()) >= keys_.size())
        return {};
    return source_->index(keys_[static_cast<std::size_t>(proxyIndex.row())].row, proxyIndex.column());
}

QModelIndex ScanFilterModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.row() >= merged_ || !accepts(sourceIndex.row())) return {};
    const Key key = keyOf(sourceIndex.row());
    const auto at = std::lower_bound(keys_.begin(), keys_.end(), key, [this](const Key& a, const Key& b) { return before(a, b); });
    if (at == keys_.end() || at->row != key.row) return {};
    return createIndex(static_cast<int>(at - keys_.begin()), sourceIndex.column());
}

QModelIndex ScanFilterModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
    return createIndex(row, column);
}

QModelIndex ScanFilterModel::parent(const QModelIndex&) const { return {}; }

int ScanFilterModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(keys_.size());
}

int ScanFilterModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ScanTableModel::ColumnCount;
}

bool ScanFilterModel::hasChildren(const QModelIndex& parent) const { return !parent.isValid() && !keys_.empty(); }

QVariant ScanFilterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The columns are the source's own, whether rows are shown or not.
    if (orientation == Qt::Horizontal) return source_->headerData(section, orientation, role);
    return QAbstractItemModel::headerData(section, orientation, role);
}

} // namespace fibmod::overview
