// SPDX-License-Identifier: MIT
// The range controls: moduli past the main window's reach, a term bound of
// its own, what is refused, and the logarithmic axis.
#include <QCheckBox>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QValueAxis>

#include "core/engine/modulus_row.h"
#include "core/window/input_fields.h"
#include "tests/overview/overview_fixture.h"
#include "ui/overview/overview_chart.h"
#include "ui/overview/point_layer.h"
#include "ui/overview/scan_table_model.h"

namespace {

using Chart = fibmod::overview::OverviewChart;

using fibmod::overview::OverviewWindow;
using Column = fibmod::overview::ScanTableModel::Column;

class RangeTest : public OverviewTest {
protected:
    // The overview over `from` … `to` with at most `maxTerms` terms (0: none).
    OverviewWindow& openOver(int from, int to, int maxTerms = 3000)
    {
        OverviewWindow& overview = open();
        box(QStringLiteral("bis"))->setValue(to);
        box(QStringLiteral("von"))->setValue(from);
        box(QStringLiteral("max. Glieder"))->setValue(maxTerms);
        overview.recomputeIfChanged();
        settle();
        return overview;
    }

    const QString kBeyond = QStringLiteral("Das Hauptfenster reicht nur bis 2000");
};

TEST_F(RangeTest, ARowAboveTwoThousandShowsItsFiguresBelowTheChartAndLeavesTheMainWindow)
{
    OverviewWindow& overview = openOver(1990, 2100);
    ASSERT_EQ(Rows(overview).size(), 111u);
    form.moveScrollBar(5);
    const std::string shownModulus = form.getText(fibmod::Text2);

    emit overview.chart()->pointLayer()->clicked(QPointF(2050, 1));
    const fibmod::ScanRow row = Rows(overview)[2050 - 1990];
    const QString detail = DetailText(overview);
    EXPECT_TRUE(detail.startsWith(QStringLiteral("Modul 2050: Zykellänge Folge 1: %1, Zykellänge Folge 2: %2, %3 "
                                                 "gemeinsame Reste: ")
                                      .arg(row.length1)
                                      .arg(row.length2)
                                      .arg(row.commonCount())))
        << detail.toStdString();
    EXPECT_TRUE(detail.contains(kBeyond)) << detail.toStdString();
    EXPECT_EQ(form.findChild<QScrollBar*>(QStringLiteral("HScroll1"))->value(), 5);
    EXPECT_EQ(form.getText(fibmod::Text2), shownModulus);

    // A double click in the table does the same (the table's own double
    // click is tested with the mouse in the table's tests).
    QTableView* view = overview.tableView();
    const QModelIndex at2099 = view->model()->index(2099 - 1990, Column::Length1);
    view->scrollTo(at2099);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&overview));
    emit view->doubleClicked(at2099);
    EXPECT_TRUE(DetailText(overview).startsWith(QStringLiteral("Modul 2099: "))) << DetailText(overview).toStdString();
    EXPECT_TRUE(DetailText(overview).contains(kBeyond));
    EXPECT_EQ(form.findChild<QScrollBar*>(QStringLiteral("HScroll1"))->value(), 5);

    // Up to 2000 the main window follows, and nothing is said about its reach.
    emit overview.chart()->pointLayer()->clicked(QPointF(1995, 1));
    EXPECT_EQ(form.getText(fibmod::Text2), "1995");
    EXPECT_FALSE(DetailText(overview).contains(kBeyond));
    EXPECT_FALSE(DetailText(overview).contains(QStringLiteral("anderes")));
}

TEST_F(RangeTest, LongResidueListsAreCutShort)
{
    // Two equal sequences have every residue of their cycle in common.
    form.setText(fibmod::kSequence2Fields.s, form.getText(fibmod::kSequence1Fields.s));
    form.setText(fibmod::kSequence2Fields.r, form.getText(fibmod::kSequence1Fields.r));
    form.setText(fibmod::kSequence2Fields.first, form.getText(fibmod::kSequence1Fields.first));
    form.setText(fibmod::kSequence2Fields.second, form.getText(fibmod::kSequence1Fields.second));
    OverviewWindow& overview = openOver(2, 2000);
    const std::vector<fibmod::ScanRow> shown = Rows(overview);
    const fibmod::ScanRow* many = &shown.front();
    for (const fibmod::ScanRow& row : shown)
        if (row.commonCount() > many->commonCount()) many = &row;
    ASSERT_GT(many->commonCount(), 300);
    overview.showModulus(many->modulus);
    const QString detail = DetailText(overview);
    const QString list = detail.section(QStringLiteral("gemeinsame Reste: "), 1).section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(list.endsWith(QStringLiteral(" …"))) << list.toStdString();
    EXPECT_EQ(list.split(QLatin1Char(' ')).size(), 300 + 1);
}

TEST_F(RangeTest, ABoundOtherThanTheMainWindowsIsNamedWhereTheRowsMayDiffer)
{
    OverviewWindow& overview = openOver(2, 40, 5000);
    EXPECT_EQ(Rows(overview), expectedRows({2, 40}, 5000));
    emit overview.chart()->pointLayer()->clicked(QPointF(30, 1));
    EXPECT_EQ(form.getText(fibmod::Text2), "30");
    EXPECT_TRUE(DetailText(overview).contains(
        QStringLiteral("Das Hauptfenster rechnet mit höchstens 3000 Gliedern und kann hier anderes zeigen.")))
        << DetailText(overview).toStdString();
}

TEST_F(RangeTest, NoBoundWalksEveryCycleToItsEndAndCountsTheStartPairsThatNeverRecur)
{
    // s = 2: the start pair of sequence 2 never comes back for even moduli.
    form.setText(fibmod::kSequence2Fields.s, "2");
    OverviewWindow& overview = openOver(2, 200, 0);
    EXPECT_EQ(box(QStringLiteral("max. Glieder"))->text(), QStringLiteral("unbegrenzt"));
    EXPECT_EQ(Rows(overview), expectedRows({2, 200}, std::nullopt));
    std::int64_t never = 0;
    for (const fibmod::ScanRow& row : Rows(overview)) never += row.neverRecurs() ? 1 : 0;
    EXPECT_TRUE(SummaryText(overview).contains(QStringLiteral("%1 mit nicht wiederkehrendem Startpaar").arg(never)))
        << SummaryText(overview).toStdString();
}

TEST_F(RangeTest, VonAboveBisAndNoBoundWithFractionsAreRefusedOnTheSpot)
{
    OverviewWindow& overview = open();
    box(QStringLiteral("von"))->setValue(500);
    box(QStringLiteral("bis"))->setValue(400);
    EXPECT_EQ(ProblemText(overview),
              QStringLiteral("„von“ (500) ist größer als „bis“ (400): bitte „von“ kleiner oder „bis“ größer wählen."));
    overview.recomputeIfChanged();
    EXPECT_FALSE(overview.computing());
    EXPECT_TRUE(Rows(overview).empty());

    box(QStringLiteral("bis"))->setValue(600);
    EXPECT_TRUE(ProblemText(overview).isEmpty());

    form.setText(fibmod::kSequence1Fields.s, "0.5");
    box(QStringLiteral("max. Glieder"))->setValue(0);
    const fibmod::Inputs values = fibmod::ReadInputs(form);
    EXPECT_EQ(ProblemText(overview).toStdString(), fibmod::BoundProblem(values, std::nullopt));
    EXPECT_FALSE(ProblemText(overview).isEmpty());
    overview.recomputeIfChanged();
    EXPECT_FALSE(overview.computing());

    box(QStringLiteral("max. Glieder"))->setValue(3000);
    EXPECT_TRUE(ProblemText(overview).isEmpty());
    overview.recomputeIfChanged();
    settle();
    EXPECT_EQ(Rows(overview), expectedRows({500, 600}));
}

TEST_F(RangeTest, TheRangeIsKeptForTheNextOverview)
{
    openOver(10, 20, 0);
    delete window;
    OverviewWindow& again = open();
    EXPECT_EQ(box(QStringLiteral("von"))->value(), 10);
    EXPECT_EQ(box(QStringLiteral("bis"))->value(), 20);
    EXPECT_EQ(box(QStringLiteral("max. Glieder"))->value(), 0);
    EXPECT_EQ(Rows(again).size(), 11u);
    // Back to the defaults for the tests after this one.
    box(QStringLiteral("von"))->setValue(2);
    box(QStringLiteral("bis"))->setValue(2000);
    box(QStringLiteral("max. Glieder"))->setValue(3000);
}

TEST_F(RangeTest, LogarithmicPutsTheLengthsOnALogAxisAndErrorsOnItsLowerEdge)
{
    form.setText(fibmod::kSequence1Fields.s, "0");
    form.setText(fibmod::kSequence1Fields.r, "2");
    OverviewWindow& overview = openOver(2, 100);
    auto* logarithmic = overview.findChild<QCheckBox*>(QStringLiteral("logarithmisch"), Qt::FindChildrenRecursively);
    for (QCheckBox* check : overview.findChildren<QCheckBox*>())
        if (check->text() == QStringLiteral("logarithmisch")) logarithmic = check;
    ASSERT_NE(logarithmic, nullptr);
    logarithmic->setChecked(true);
    overview.chart()->refreshNow();
    auto* axis = qobject_cast<QLogValueAxis*>(overview.chart()->lengthAxis());
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(overview.chart()->chart()->axes(Qt::Vertical).count(), 2);
    ASSERT_GT(overview.chart()->points(Chart::Error).size(), 0);
    for (const QPointF& point : overview.chart()->points(Chart::Error)) EXPECT_EQ(point.y(), axis->min());
    EXPECT_GT(axis->min(), 0);

    logarithmic->setChecked(false);
    overview.chart()->refreshNow();
    ASSERT_NE(qobject_cast<QValueAxis*>(overview.chart()->lengthAxis()), nullptr);
    for (const QPointF& point : overview.chart()->points(Chart::Error)) EXPECT_EQ(point.y(), 0);
    box(QStringLiteral("bis"))->setValue(2000);
}

TEST_F(RangeTest, ARefusalClearsTheSummaryWhicheverBoxBroughtIt)
{
    OverviewWindow& overview = open();
    box(QStringLiteral("von"))->setValue(15);
    overview.recomputeIfChanged();
    settle();
    ASSERT_FALSE(SummaryText(overview).isEmpty());
    box(QStringLiteral("bis"))->setValue(2);
    EXPECT_FALSE(ProblemText(overview).isEmpty());
    EXPECT_EQ(SummaryText(overview), QString()) << "refused through bis";

    box(QStringLiteral("bis"))->setValue(2000);
    overview.recomputeIfChanged();
    settle();
    ASSERT_FALSE(SummaryText(overview).isEmpty());
    box(QStringLiteral("von"))->setValue(2500);
    EXPECT_FALSE(ProblemText(overview).isEmpty());
    EXPECT_EQ(SummaryText(overview), QString()) << "refused through von";
}

TEST_F(RangeTest, UnbegrenztCanBeTypedInMaxGliederAndReadsAsTheWord)
{
    open();
    QSpinBox* terms = box(QStringLiteral("max. Glieder"));
    terms->selectAll();
    QTest::keyClicks(terms, QStringLiteral("unbegrenzt"));
    EXPECT_EQ(terms->value(), 0);
    EXPECT_EQ(terms->text(), QStringLiteral("unbegrenzt"));

    terms->selectAll();
    QTest::keyClicks(terms, QStringLiteral("250"));
    EXPECT_EQ(terms->value(), 250);
    terms->selectAll();
    QTest::keyClicks(terms, QStringLiteral("Unbegrenzt"));
    EXPECT_EQ(terms->value(), 0);
}

} // namespace
