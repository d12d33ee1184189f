// SPDX-License-Identifier: MIT
// Which of the scan's rows a view shows, and in which order: kept by merging each batch in.
#include "ui/overview/scan_filter_model.h"

#include <algorithm>
#include <compare>
#include <iterator>
#include <span>
#include <string_view>
#include <utility>

#include "ui/overview/scan_table_model.h"

namespace fibmod::overview {

namespace {

// The order of two rows' cells in `column`, ascending, by what `rows` keeps.
std::weak_ordering CompareCells(const KeptRows& rows, int column, std::size_t a, std::size_t b)
{
    const RowFigures x = rows.figures(a);
    const RowFigures y = rows.figures(b);
    const auto number = [&](auto figure) {
        // A failed row's number cells are empty, and empty cells go last.
        return std::pair(x.failed(), x.failed() ? 0 : x.*figure) <=> std::pair(y.failed(), y.failed() ? 0 : y.*figure);
    };
    switch (column) {
    case ScanTableModel::Modulus: return x.modulus <=> y.modulus;
    case ScanTableModel::Length1: return number(&RowFigures::length1);
    case ScanTableModel::Length2: return number(&RowFigures::length2);
    case ScanTableModel::CommonCount: return number(&RowFigures::commonCount);
    case ScanTableModel::Error: {
        const std::string_view p = x.failed() ? std::string_view(x.failure->message) : std::string_view();
        const std::string_view q = y.failed() ? std::string_view(y.failure->message) : std::string_view();
        return p <=> q;
    }
    case ScanTableModel::Residues: {
        // The kept residues first, as numbers; the rows without them by count.
        const bool aKept = rows.residuesKept(a);
        const bool bKept = rows.residuesKept(b);
        if (aKept != bKept) return aKept ? std::weak_ordering::less : std::weak_ordering::greater;
        if (!aKept) return x.commonCount <=> y.commonCount;
        const std::span<const std::uint32_t> p = rows.keptResidues(a);
        const std::span<const std::uint32_t> q = rows.keptResidues(b);
        return std::lexicographical_compare_three_way(p.begin(), p.end(), q.begin(), q.end());
    }
    default: return std::weak_ordering::equivalent;
    }
}

} // namespace

ScanFilterModel::ScanFilterModel(ScanTableModel* source, Rows rows, QObject* parent)
    : QAbstractProxyModel(parent), source_(source), rows_(rows)
{
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
    column_ = column;
    order_ = order;
    std::vector<int> shown = shown_;
    std::sort(shown.begin(), shown.end(), [this](int a, int b) { return before(a, b); });
    relayout(std::move(shown));
}

bool ScanFilterModel::accepts(int sourceRow) const
{
    const auto at = static_cast<std::size_t>(sourceRow);
    switch (rows_) {
    case Rows::All: return true;
    case Rows::SingleCommon: return source_->kept().singleCommon(at);
    case Rows::Errors: return source_->kept().figures(at).failed();
    }
    return true;
}

bool ScanFilterModel::before(int a, int b) const
{
    const std::weak_ordering cells =
        CompareCells(source_->kept(), column_, static_cast<std::size_t>(a), static_cast<std::size_t>(b));
    if (cells != 0) return order_ == Qt::AscendingOrder ? cells < 0 : cells > 0;
    return a < b;
}

std::vector<int> ScanFilterModel::ordered(int first) const
{
    std::vector<int> rows;
    for (int row = first; row < source_->rowCount(); ++row)
        if (accepts(row)) rows.push_back(row);
    std::sort(rows.begin(), rows.end(), [this](int a, int b) { return before(a, b); });
    return rows;
}

void ScanFilterModel::relayout(std::vector<int> shown)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList from = persistentIndexList();
    std::vector<int> sources;
    sources.reserve(static_cast<std::size_t>(from.size()));
    for (const QModelIndex& index : from) sources.push_back(shown_[static_cast<std::size_t>(index.row())]);
    shown_ = std::move(shown);
    rebuildPositions();
    QModelIndexList to;
    to.reserve(from.size());
    for (qsizetype at = 0; at < from.size(); ++at)
        to << createIndex(position_[static_cast<std::size_t>(sources[static_cast<std::size_t>(at)])], from[at].column());
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ScanFilterModel::rebuildPositions()
{
    position_.assign(static_cast<std::size_t>(source_->rowCount()), -1);
    for (std::size_t at = 0; at < shown_.size(); ++at) position_[static_cast<std::size_t>(shown_[at])] = static_cast<int>(at);
}

// Between beginResetModel() and here: the order of the source's rows anew.
void ScanFilterModel::sourceReset()
{
    shown_ = ordered(0);
    shown_.shrink_to_fit();
    rebuildPositions();
    position_.shrink_to_fit();
    endResetModel();
}

void ScanFilterModel::sourceAppended(int first, int last)
{
    position_.resize(static_cast<std::size_t>(last) + 1, -1);
    const std::vector<int> added = ordered(first);
    if (added.empty()) return;
    const int at = static_cast<int>(shown_.size());
    beginInsertRows({}, at, at + static_cast<int>(added.size()) - 1);
    for (const int row : added) {
        position_[static_cast<std::size_t>(row)] = static_cast<int>(shown_.size());
        shown_.push_back(row);
    }
    endInsertRows();
    // Appended in order already (the moduli ascending, say): nothing moves.
    if (at == 0 || !before(added.front(), shown_[static_cast<std::size_t>(at) - 1])) return;
    std::vector<int> merged;
    merged.reserve(shown_.capacity());
    const auto middle = shown_.begin() + at;
    std::merge(shown_.begin(), middle, middle, shown_.end(), std::back_inserter(merged),
               [this](int a, int b) { return before(a, b); });
    relayout(std::move(merged));
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
    if (!proxyIndex.isValid() || proxyIndex.model() != this || static_cast<std::size_t>(proxyIndex.row()) >= shown_.size())
        return {};
    return source_->index(shown_[static_cast<std::size_t>(proxyIndex.row())], proxyIndex.column());
}

QModelIndex ScanFilterModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || static_cast<std::size_t>(sourceIndex.row()) >= position_.size()) return {};
    const int at = position_[static_cast<std::size_t>(sourceIndex.row())];
    return at < 0 ? QModelIndex() : createIndex(at, sourceIndex.column());
}

QModelIndex ScanFilterModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
    return createIndex(row, column);
}

QModelIndex ScanFilterModel::parent(const QModelIndex&) const { return {}; }

int ScanFilterModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int ScanFilterModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ScanTableModel::ColumnCount;
}

bool ScanFilterModel::hasChildren(const QModelIndex& parent) const { return !parent.isValid() && !shown_.empty(); }

QVariant ScanFilterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The columns are the source's own, whether rows are shown or not.
    if (orientation == Qt::Horizontal) return source_->headerData(section, orientation, role);
    return QAbstractItemModel::headerData(section, orientation, role);
}

} // namespace fibmod::overview
