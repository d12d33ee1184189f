// SPDX-License-Identifier: MIT
// The scan's item model and its filtered views against Qt's model checks.
#include <QAbstractItemModelTester>
#include <QStringList>

#include <gtest/gtest.h>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"
#include "tests/support/collected_scan.h"
#include "ui/overview/scan_filter_model.h"
#include "ui/overview/scan_table_model.h"

namespace {

using fibmod::overview::ScanFilterModel;
using fibmod::overview::ScanTableModel;

// Collects what Qt's model tester complains about.
class ModelCheck {
public:
    ModelCheck() { previous_ = qInstallMessageHandler(&ModelCheck::collect); }
    ~ModelCheck() { qInstallMessageHandler(previous_); }
    QStringList complaints() const { return found(); }

private:
    static QStringList& found()
    {
        static QStringList list;
        return list;
    }
    static void collect(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (type != QtDebugMsg && type != QtInfoMsg) found() << text;
    }
    QtMessageHandler previous_ = nullptr;
};

std::vector<fibmod::ScanRow> Rows(fibmod::ModulusRange range)
{
    return fibmod::Scan(fibmod::kDesignTimeInputs, range).value();
}

TEST(ScanModelTest, PassesQtsModelTesterThroughResetsFiltersAndSorting)
{
    ModelCheck check;
    ScanTableModel model;
    ScanFilterModel filtered(&model);
    QAbstractItemModelTester modelTester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    QAbstractItemModelTester filterTester(&filtered, QAbstractItemModelTester::FailureReportingMode::Warning);

    model.setRows(Rows({2, 60}));
    filtered.sort(ScanTableModel::Length1, Qt::DescendingOrder);
    filtered.setRows(ScanFilterModel::Rows::SingleCommon);
    model.setRows(Rows({30, 90}));
    filtered.setRows(ScanFilterModel::Rows::Errors);
    filtered.setRows(ScanFilterModel::Rows::All);
    model.setRows({});
    EXPECT_TRUE(check.complaints().isEmpty()) << check.complaints().join(QLatin1Char('\n')).toStdString();
}

TEST(ScanModelTest, AnswersOnlyValidIndexesOfItsOneLevel)
{
    ScanTableModel model;
    model.setRows(Rows({2, 10}));
    EXPECT_EQ(model.rowCount(), 9);
    EXPECT_EQ(model.columnCount(), 6);
    const QModelIndex first = model.index(0, 0);
    EXPECT_EQ(model.rowCount(first), 0);
    EXPECT_EQ(model.columnCount(first), 0);
    EXPECT_FALSE(model.data(QModelIndex()).isValid());
    EXPECT_FALSE(model.data(model.index(9, 0)).isValid());
    EXPECT_EQ(model.data(first), QVariant(2));
    EXPECT_EQ(model.data(model.index(1, ScanTableModel::Residues)), QVariant(QStringLiteral("1 2")));
    EXPECT_EQ(model.headerData(ScanTableModel::CommonCount, Qt::Horizontal), QVariant(QStringLiteral("Anzahl gemeinsamer Reste")));
}

TEST(ScanModelTest, ACellListsAHundredResiduesAtMost)
{
    fibmod::ScanRow row;
    row.modulus = 1000;
    row.length1 = 300;
    row.length2 = 300;
    for (std::int64_t residue = 0; residue < 300; ++residue) row.residues.push_back(residue);
    ScanTableModel model;
    model.setRows({row});
    const QString text = model.data(model.index(0, ScanTableModel::Residues)).toString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("99 …"))) << text.right(20).toStdString();
    EXPECT_EQ(text.count(QLatin1Char(' ')), 100);
    EXPECT_EQ(model.row(0).residues.size(), 300u) << "the row itself keeps them all";
}

} // namespace
