// SPDX-License-Identifier: MIT
// Rows kept without their residues get them back from the engine: the table's cell, the detail line, the CSV.
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "tests/overview/overview_fixture.h"
#include "ui/overview/scan_table_model.h"

namespace {

using fibmod::overview::ScanTableModel;

// The overview with the residues of moduli up to 50 kept, no others.
class BudgetTest : public OverviewTest {
protected:
    static fibmod::overview::OverviewTuning UpToFifty()
    {
        fibmod::overview::OverviewTuning tuning;
        tuning.residues = {.alwaysUpTo = 50, .bytes = 0};
        return tuning;
    }
    BudgetTest() : OverviewTest(UpToFifty()) {}

    // The overview over 2 … 400.
    fibmod::overview::OverviewWindow& openBeyondBudget()
    {
        open();
        box(QStringLiteral("bis"))->setValue(400);
        window->recomputeIfChanged();
        settle();
        return *window;
    }

    // The position of the first row above 50 with residues, which the budget left out.
    int firstBeyond()
    {
        const fibmod::overview::KeptRows& kept = window->model()->kept();
        for (std::size_t at = 0; at < kept.size(); ++at)
            if (!kept.residuesKept(at)) return static_cast<int>(at);
        ADD_FAILURE() << "every row kept its residues";
        return 0;
    }
};

TEST_F(BudgetTest, ARowBeyondTheBudgetShowsItsResiduesInTheDetailLineAndTheTable)
{
    fibmod::overview::OverviewWindow& overview = openBeyondBudget();
    const std::vector<fibmod::ScanRow> expected = expectedRows({2, 400});
    EXPECT_EQ(Rows(overview), expected);
    const int at = firstBeyond();
    const fibmod::ScanRow& row = expected[static_cast<std::size_t>(at)];
    ASSERT_GT(row.modulus, 50);

    overview.showModulus(row.modulus);
    EXPECT_TRUE(DetailText(overview).contains(
        QStringLiteral("gemeinsame Reste: %1").arg(QString::fromStdString(row.residuesText()))))
        << DetailText(overview).toStdString();

    // The cell shows the count until the worker has the residues.
    ScanTableModel* model = overview.model();
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    const QModelIndex cell = model->index(at, ScanTableModel::Residues);
    EXPECT_EQ(model->data(cell), QVariant(QStringLiteral("%1 Reste …").arg(row.commonCount())));
    ASSERT_TRUE(changed.wait(20000));
    EXPECT_EQ(changed.front().at(0).toModelIndex(), cell);
    EXPECT_EQ(model->data(cell).toString().toStdString(), row.residuesText());
}

TEST_F(BudgetTest, TheCsvOfRowsBeyondTheBudgetIsTheCommandLinesByteForByte)
{
    openBeyondBudget();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("moduln.csv"));
    window->setPathQuestion([path](const QString&, const QString&, const QString&) { return path; });
    window->saveCsv();
    EXPECT_TRUE(messages.empty()) << messages.join(u'\n').toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));

    QProcess cli;
    cli.start(QStringLiteral(FIBMOD_CLI_PATH),
              {QStringLiteral("scan"), QStringLiteral("--from"), QStringLiteral("2"), QStringLiteral("--to"),
               QStringLiteral("400"), QStringLiteral("--format"), QStringLiteral("csv")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(file.readAll(), cli.readAllStandardOutput());
}

} // namespace
