// SPDX-License-Identifier: MIT
// The scan's rows as an item model.
#include "ui/overview/scan_table_model.h"

#include <algorithm>

#include <QString>
#include <QStringList>

namespace fibmod::overview {

namespace {

QVariant Display(const ScanRow& row, int column)
{
    switch (column) {
    case ScanTableModel::Modulus: return static_cast<qlonglong>(row.modulus);
    case ScanTableModel::Error: return QString::fromStdString(row.failureText());
    default: break;
    }
    if (row.failed()) return {};
    switch (column) {
    case ScanTableModel::Length1: return static_cast<qlonglong>(row.length1);
    case ScanTableModel::Length2: return static_cast<qlonglong>(row.length2);
    case ScanTableModel::CommonCount: return static_cast<qlonglong>(row.commonCount());
    case ScanTableModel::Residues: return QString::fromStdString(row.residuesText());
    default: return {};
    }
}

bool IsNumber(int column)
{
    return column == ScanTableModel::Modulus || column == ScanTableModel::Length1 ||
           column == ScanTableModel::Length2 || column == ScanTableModel::CommonCount;
}

} // namespace

ScanTableModel::ScanTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ScanTableModel::setRows(std::vector<ScanRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    tally_ = {};
    for (const ScanRow& row : rows_) count(row);
    endResetModel();
}

void ScanTableModel::appendRows(const std::vector<ScanRow>& rows)
{
    if (rows.empty()) return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    rows_.insert(rows_.end(), rows.begin(), rows.end());
    for (const ScanRow& row : rows) count(row);
    endInsertRows();
}

void ScanTableModel::count(const ScanRow& row)
{
    if (HasSingleCommonResidue(row)) ++tally_.singleCommon;
    if (row.runTimeError()) ++tally_.runTimeErrors;
    if (row.neverRecurs()) ++tally_.neverRecurring;
}

const ScanRow* ScanTableModel::find(std::int64_t modulus) const
{
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), modulus,
                                     [](const ScanRow& row, std::int64_t m) { return row.modulus < m; });
    return at != rows_.end() && at->modulus == modulus ? &*at : nullptr;
}

int ScanTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ScanTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ScanTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    const ScanRow& row = rowAt(index.row());
    switch (role) {
    case Qt::DisplayRole: return Display(row, index.column());
    case Qt::ToolTipRole:
        if (index.column() == Residues || index.column() == Error) return Display(row, index.column());
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(IsNumber(index.column()) ? Qt::AlignRight | Qt::AlignVCenter
                                                                           : Qt::AlignLeft | Qt::AlignVCenter));
    default: return {};
    }
}

QVariant ScanTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role != Qt::DisplayRole) return {};
    switch (section) {
    case Modulus: return QStringLiteral("Modul");
    case Length1: return QStringLiteral("Zykellänge Folge 1");
    case Length2: return QStringLiteral("Zykellänge Folge 2");
    case CommonCount: return QStringLiteral("Anzahl gemeinsamer Reste");
    case Residues: return QStringLiteral("die Reste");
    case Error: return QStringLiteral("Fehler");
    default: return {};
    }
}

} // namespace fibmod::overview
