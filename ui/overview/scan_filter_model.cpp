// SPDX-License-Identifier: MIT
// Which of the scan's rows a view shows.
#include "ui/overview/scan_filter_model.h"

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
    const ScanRow& row = source_->rowAt(sourceRow);
    switch (rows_) {
    case Rows::All: return true;
    case Rows::SingleCommon: return HasSingleCommonResidue(row);
    case Rows::Errors: return row.failed();
    }
    return true;
}

} // namespace fibmod::overview
