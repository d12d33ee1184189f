// SPDX-License-Identifier: MIT
// The scan's rows as an item model, their residues kept within a budget or computed again.
#include "ui/overview/scan_table_model.h"

#include <malloc.h>

#include <QString>

namespace fibmod::overview {

namespace {

bool IsNumber(int column) { return IsNumberColumn(static_cast<RowColumn>(column)); }

// The engine's rule for empty cells, asked of the figures: a failed row has
// only its modulus and its error.
bool IsEmpty(const RowFigures& figures, int column)
{
    ScanRow row;
    row.modulus = figures.modulus;
    if (figures.failure != nullptr) row.failure = *figures.failure;
    return IsEmptyCell(row, static_cast<RowColumn>(column));
}

} // namespace

ScanTableModel::ScanTableModel(ResidueBudget budget, QObject* parent)
    : QAbstractTableModel(parent), rows_(budget), lookup_(new ResidueLookup(this))
{
    connect(lookup_, &ResidueLookup::found, this, [this](std::int64_t modulus) {
        if (const std::optional<int> at = find(modulus)) {
            const QModelIndex cell = index(*at, Residues);
            emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::ToolTipRole});
        }
    });
}

void ScanTableModel::setRows(std::vector<ScanRow> rows, RowSource again)
{
    beginResetModel();
    rows_.clear();
    // The freed rows go back to the system, not only to the allocator: a
    // million moduli's rows would otherwise stay with the process.
    malloc_trim(0);
    again_ = std::move(again);
    lookup_->reset(again_);
    tally_ = {};
    for (const ScanRow& row : rows) {
        rows_.append(row);
        tally_.add(row);
    }
    endResetModel();
}

void ScanTableModel::appendRows(const std::vector<ScanRow>& rows)
{
    if (rows.empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (const ScanRow& row : rows) {
        rows_.append(row);
        tally_.add(row);
    }
    endInsertRows();
}

ScanRow ScanTableModel::row(int at) const
{
    const auto position = static_cast<std::size_t>(at);
    if (rows_.residuesKept(position) || !again_) return rows_.row(position);
    return again_(rows_.modulus(position));
}

std::optional<int> ScanTableModel::find(std::int64_t modulus) const
{
    const std::optional<std::size_t> at = rows_.indexOf(modulus);
    if (!at) return std::nullopt;
    return static_cast<int>(*at);
}

int ScanTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ScanTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString ScanTableModel::residuesText(int at) const
{
    const auto position = static_cast<std::size_t>(at);
    if (rows_.residuesKept(position)) return ResidueCellText(rows_.keptResidues(position));
    if (std::optional<QString> text = lookup_->text(rows_.modulus(position))) return *text;
    // Until the worker has them: how many there are.
    return QStringLiteral("%1 Reste …").arg(rows_.figures(position).commonCount);
}

QVariant ScanTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(IsNumber(column) ? Qt::AlignRight | Qt::AlignVCenter
                                                                   : Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole && !(role == Qt::ToolTipRole && (column == Residues || column == Error))) return {};
    const RowFigures row = figures(index.row());
    switch (column) {
    case Modulus: return static_cast<qlonglong>(row.modulus);
    case Error: return row.failure ? QString::fromStdString(row.failure->message) : QString();
    default: break;
    }
    if (IsEmpty(row, column)) return {};
    switch (column) {
    case Length1: return static_cast<qlonglong>(row.length1);
    case Length2: return static_cast<qlonglong>(row.length2);
    case CommonCount: return static_cast<qlonglong>(row.commonCount);
    case Residues: return residuesText(index.row());
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
