// SPDX-License-Identifier: MIT
// The overview follows the main window's inputs; superseded runs never show.
#include <QScrollBar>
#include <QSignalSpy>

#include "tests/overview/overview_fixture.h"
#include "ui/overview/scan_runner.h"

namespace {

TEST_F(OverviewTest, AChangedInputRecomputesAfterAPause)
{
    fibmod::overview::OverviewWindow& overview = open();
    const std::vector<fibmod::ScanRow> before = overview.rows();
    QSignalSpy shown(&overview, &fibmod::overview::OverviewWindow::rowsShown);
    form.setText(fibmod::Text4(3), "5");
    EXPECT_FALSE(overview.computing()) << "not at every key, only after a pause";
    ASSERT_TRUE(waitForRecompute(shown));
    settle();
    EXPECT_EQ(overview.rows(), expectedRows());
    EXPECT_NE(overview.rows(), before);
}

TEST_F(OverviewTest, TheMainWindowComputesWhileTheOverviewScans)
{
    fibmod::overview::OverviewWindow& overview = open();
    form.setText(fibmod::Text4(3), "3");
    overview.recomputeIfChanged();
    ASSERT_TRUE(overview.computing());
    form.findChild<QScrollBar*>(QStringLiteral("HScroll1"))->setValue(50);
    EXPECT_EQ(form.getText(fibmod::Text2), "50");
    settle();
    const fibmod::ScanRow& fifty = overview.rows()[50 - 2];
    EXPECT_EQ(form.getText(fibmod::Text3(0)), std::to_string(fifty.length1));
    EXPECT_EQ(form.getText(fibmod::Text3(1)), std::to_string(fifty.length2));
    EXPECT_EQ(form.getText(fibmod::Text3(2)), std::to_string(fifty.commonCount()));
    EXPECT_EQ(overview.rows(), expectedRows());
}

TEST_F(OverviewTest, TheModulusAloneChangesNoRow)
{
    fibmod::overview::OverviewWindow& overview = open();
    form.findChild<QScrollBar*>(QStringLiteral("HScroll1"))->setValue(9);
    overview.recomputeIfChanged();
    EXPECT_FALSE(overview.computing());
}

TEST_F(OverviewTest, ASupersededRunIsNeverShown)
{
    fibmod::overview::OverviewWindow& overview = open();
    std::vector<std::vector<fibmod::ScanRow>> seen;
    QObject::connect(&overview, &fibmod::overview::OverviewWindow::rowsShown, &overview,
                     [&] { seen.push_back(overview.rows()); });

    // A run that has finished but not yet delivered, then one stopped at once.
    form.setText(fibmod::Text4(1), "3");
    overview.recomputeIfChanged();
    overview.waitForWorker();
    form.setText(fibmod::Text4(1), "5");
    overview.recomputeIfChanged();
    form.setText(fibmod::Text4(1), "7");
    overview.recomputeIfChanged();
    settle();

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen.front(), expectedRows());
    EXPECT_EQ(overview.rows(), expectedRows());
}

} // namespace

// The scan takes no modulus while the main window computes, and still ends
// when stopped while it waits.
TEST(ScanRunnerTest, AHeldScanWaitsForTheMainWindowAndStillStops)
{
    const fibmod::InputTexts& d = fibmod::kDesignTimeInputs;
    const fibmod::HeldInputTexts inputs{std::string(d.s1), std::string(d.r1), std::string(d.first1),
                                              std::string(d.second1), std::string(d.s2), std::string(d.r2),
                                              std::string(d.first2), std::string(d.second2)};
    {
        fibmod::overview::ScanRunner runner;
        std::vector<fibmod::ScanRow> rows;
        QObject::connect(&runner, &fibmod::overview::ScanRunner::finished,
                         [&rows](std::uint64_t, const std::vector<fibmod::ScanRow>& delivered) { rows = delivered; });
        runner.hold(true);
        runner.start(inputs);
        QCoreApplication::processEvents();
        EXPECT_TRUE(rows.empty()) << "no row while held";
        runner.hold(false);
        runner.waitForWorkers();
        QCoreApplication::processEvents();
        EXPECT_EQ(rows, *fibmod::Scan(inputs.texts(), {}));
    }
    // Destroying a runner whose scan is held stops it; a hang would fail on
    // the test's time limit.
    fibmod::overview::ScanRunner held;
    held.hold(true);
    held.start(inputs);
}
