// SPDX-License-Identifier: MIT
// Which of the scan's rows a view shows, and in which order.
#include "ui/overview/scan_filter_model.h"

#include <algorithm>
#include <span>
#include <utility>

#include "ui/overview/scan_table_model.h"

namespace fibmod::overview {

ScanFilterModel::ScanFilterModel(ScanTableModel* source, Rows rows, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source), rows_(rows)
{
    setSourceModel(source);
}

void ScanFilterModel::setRows(Rows rows)
{
    if (rows == rows_) return;
    rows_ = rows;
    invalidateRowsFilter();
}

bool ScanFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (sourceParent.isValid()) return false;
    const auto at = static_cast<std::size_t>(sourceRow);
    switch (rows_) {
    case Rows::All: return true;
    case Rows::SingleCommon: return source_->kept().singleCommon(at);
    case Rows::Errors: return source_->kept().figures(at).failed();
    }
    return true;
}

// "die Reste" sorts by the residues as numbers, first residue first, where
// they are kept; rows kept without them follow, by their count. Nothing is
// computed again for it.
bool ScanFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    if (left.column() != ScanTableModel::Residues || right.column() != ScanTableModel::Residues)
        return QSortFilterProxyModel::lessThan(left, right);
    const KeptRows& rows = source_->kept();
    const auto a = static_cast<std::size_t>(left.row());
    const auto b = static_cast<std::size_t>(right.row());
    const bool aKept = rows.residuesKept(a);
    const bool bKept = rows.residuesKept(b);
    if (aKept != bKept) return aKept;
    if (!aKept) return std::pair(rows.figures(a).commonCount, a) < std::pair(rows.figures(b).commonCount, b);
    const std::span<const std::uint32_t> x = rows.keptResidues(a);
    const std::span<const std::uint32_t> y = rows.keptResidues(b);
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end());
}

} // namespace fibmod::overview
