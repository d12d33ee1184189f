// SPDX-License-Identifier: MIT
// Opening the overview, and what it shows for the main window's inputs.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QLegend>
#include <QScatterSeries>
#include <QMenu>
#include <QScatterSeries>
#include <QTableView>
#include <QTest>

#include "tests/overview/overview_fixture.h"
#include "ui/overview/overview_chart.h"
#include "ui/overview/scan_filter_model.h"
#include "ui/overview/scan_table_model.h"

namespace {

using Chart = fibmod::overview::OverviewChart;

using fibmod::overview::OverviewWindow;

TEST_F(OverviewTest, F2OpensItAndASecondF2KeepsTheSameWindow)
{
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form, 20000));
    QTest::keyClick(form.findChild<QWidget*>(QStringLiteral("Text2")), Qt::Key_F2);
    auto* first = form.findChild<OverviewWindow*>();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->isWindow());
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Übersicht"));

    first->close();
    emit form.overviewRequested();
    EXPECT_EQ(form.findChildren<OverviewWindow*>().size(), 1);
    EXPECT_TRUE(first->isVisible());
}

TEST_F(OverviewTest, TheBackgroundMenuOpensIt)
{
    const QPoint free(form.width() - 3, form.height() - 3);
    QContextMenuEvent event(QContextMenuEvent::Mouse, free, form.mapToGlobal(free));
    QApplication::sendEvent(&form, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    menu->actions().front()->trigger();
    menu->close();
    auto* opened = form.findChild<OverviewWindow*>();
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
}

// Every point of `series` is the row of its modulus, with `y` of that row.
template <class Y>
void ExpectPointsOfRows(const QList<QPointF>& points, const std::vector<fibmod::ScanRow>& rows, Y y)
{
    ASSERT_GT(points.size(), 0);
    for (const QPointF& point : points) {
        const auto modulus = static_cast<std::size_t>(point.x());
        ASSERT_GE(modulus, 2u);
        ASSERT_LT(modulus - 2, rows.size());
        EXPECT_EQ(point.y(), y(rows[modulus - 2])) << " at " << modulus;
    }
}

TEST_F(OverviewTest, ShowsTheCoreScanOfTheFieldsInTableAndChart)
{
    OverviewWindow& overview = open();
    const std::vector<fibmod::ScanRow> expected = expectedRows();
    ASSERT_EQ(expected.size(), 1999u);
    EXPECT_EQ(Rows(overview), expected);
    EXPECT_EQ(overview.tableView()->model()->rowCount(), 1999);

    // Points that share pixels are drawn once: each one drawn is a real row's.
    fibmod::overview::OverviewChart* chart = overview.chart();
    ExpectPointsOfRows(chart->points(Chart::Length1), expected, [](const fibmod::ScanRow& row) { return row.length1; });
    ExpectPointsOfRows(chart->points(Chart::Length2), expected, [](const fibmod::ScanRow& row) { return row.length2; });
    ExpectPointsOfRows(chart->points(Chart::Count), expected, [](const fibmod::ScanRow& row) { return row.commonCount(); });
    ExpectPointsOfRows(chart->points(Chart::Single), expected, [](const fibmod::ScanRow& row) {
        EXPECT_TRUE(fibmod::HasSingleCommonResidue(row)) << row.modulus;
        return 1;
    });
    EXPECT_EQ(chart->points(Chart::Error).size(), 0);
    EXPECT_EQ(chart->points(Chart::Single).at(0), QPointF(2, 1));
    EXPECT_EQ(SummaryText(overview), QStringLiteral("1999 Moduln, 159 mit genau einem gemeinsamen Rest, "
                                                     "0 mit Laufzeitfehler, 0 mit nicht wiederkehrendem Startpaar"));
}

TEST_F(OverviewTest, ErrorsAreMarkedApartAndLeaveTheNumbersEmpty)
{
    // Doubling from 1, 1 never returns to the start pair: error 9 everywhere.
    form.setText(fibmod::kSequence1Fields.s, "0");
    form.setText(fibmod::kSequence1Fields.r, "2");
    messages.clear();
    OverviewWindow& overview = open();
    EXPECT_TRUE(messages.empty()) << "the scan reports errors in its rows, not in boxes";
    EXPECT_EQ(Rows(overview), expectedRows());
    ASSERT_GT(overview.chart()->points(Chart::Error).size(), 0);
    for (const QPointF& point : overview.chart()->points(Chart::Error)) EXPECT_EQ(point.y(), 0);
    EXPECT_EQ(overview.chart()->points(Chart::Single).size(), 0);
    EXPECT_TRUE(SummaryText(overview).contains(QStringLiteral("1999 mit Laufzeitfehler")))
        << SummaryText(overview).toStdString();

    const QAbstractItemModel* table = overview.tableView()->model();
    using Column = fibmod::overview::ScanTableModel::Column;
    EXPECT_EQ(table->index(0, Column::Modulus).data(), QVariant(2));
    EXPECT_FALSE(table->index(0, Column::Length1).data().isValid());
    EXPECT_FALSE(table->index(0, Column::CommonCount).data().isValid());
    EXPECT_EQ(table->index(0, Column::Error).data().toString(),
              QStringLiteral("Laufzeitfehler 9: Index außerhalb des gültigen Bereichs"));
}

TEST_F(OverviewTest, LabelsAxesLegendAndControlsInGerman)
{
    OverviewWindow& overview = open();
    QChart* chart = overview.chart()->chart();
    QStringList titles;
    for (QAbstractAxis* axis : chart->axes()) titles << axis->titleText();
    EXPECT_EQ(titles, (QStringList{"Modul", "Zykellänge", "Anzahl gemeinsamer Reste"}));
    QStringList names;
    for (QAbstractSeries* series : chart->series()) names << series->name();
    EXPECT_EQ(names, (QStringList{"Zykellänge Folge 1", "Zykellänge Folge 2", "Anzahl gemeinsamer Reste",
                                  "genau ein gemeinsamer Rest", "Laufzeitfehler"}));
    EXPECT_EQ(chart->animationOptions(), QChart::NoAnimation);
    EXPECT_FALSE(overview.chart()->accessibleName().isEmpty());
    EXPECT_FALSE(overview.tableView()->accessibleName().isEmpty());
    const QList<QAbstractButton*> buttons = overview.findChildren<QAbstractButton*>();
    int named = 0;
    for (QAbstractButton* button : buttons) {
        if (button->text().isEmpty()) continue; // the table's corner button
        EXPECT_FALSE(button->accessibleName().isEmpty()) << button->text().toStdString();
        ++named;
    }
    EXPECT_EQ(named, 6);
    for (const QString& name : {QStringLiteral("von"), QStringLiteral("bis"), QStringLiteral("max. Glieder")})
        EXPECT_NE(box(name), nullptr);
    EXPECT_EQ(box(QStringLiteral("max. Glieder"))->specialValueText(), QStringLiteral("unbegrenzt"));
}

TEST_F(OverviewTest, EachHeaderOfTheTableFitsItsColumn)
{
    OverviewWindow& overview = open();
    overview.show();
    QHeaderView* header = overview.tableView()->horizontalHeader();
    for (int column = 0; column < header->count(); ++column) {
        const QString text = header->model()->headerData(column, Qt::Horizontal).toString();
        EXPECT_LE(header->sectionSizeHint(column), header->sectionSize(column)) << text.toStdString();
        EXPECT_LE(header->fontMetrics().horizontalAdvance(text), header->sectionSize(column)) << text.toStdString();
    }
}

// The texts the legend draws, as laid out: a name cut short ends in "...".
QStringList DrawnTexts(const QGraphicsItem* item)
{
    QStringList texts;
    for (const QGraphicsItem* child : item->childItems()) {
        if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(child)) texts << text->toPlainText();
        texts << DrawnTexts(child);
    }
    return texts;
}

TEST_F(OverviewTest, AtItsSmallestTheLegendNamesEverySeriesInFull)
{
    OverviewWindow& overview = open();
    overview.show();
    overview.resize(overview.minimumSize());
    QApplication::processEvents();
    QChart* chart = overview.chart()->chart();
    QStringList names;
    for (QAbstractSeries* series : chart->series()) names << series->name();
    QStringList drawn = DrawnTexts(chart->legend());
    drawn.sort();
    names.sort();
    EXPECT_EQ(drawn.join(" | ").toStdString(), names.join(" | ").toStdString());
}

TEST_F(OverviewTest, AtItsSmallestTheTableShowsFiveRowsUnderTheLongestHint)
{
    OverviewWindow& overview = open();
    overview.show();
    box(QStringLiteral("bis"))->setValue(999999);
    box(QStringLiteral("von"))->setValue(1000000);
    ASSERT_FALSE(ProblemText(overview).isEmpty());
    overview.resize(overview.minimumSize());
    QApplication::processEvents();
    const QTableView* view = overview.tableView();
    EXPECT_GE(view->viewport()->height() / view->verticalHeader()->defaultSectionSize(), 5);
    // With a title bar, it still fits an 800 x 600 screen.
    EXPECT_LE(overview.minimumWidth(), 800);
    EXPECT_LE(overview.minimumHeight(), 560);
}

TEST_F(OverviewTest, RemembersItsSizeAndPosition)
{
    OverviewWindow& overview = open();
    overview.setGeometry(40, 50, 777, 575);
    overview.close();
    delete window;

    Form1 second;
    auto* again = fibmod::overview::OpenOverview(second);
    EXPECT_EQ(again->size(), QSize(777, 575));
}

} // namespace
