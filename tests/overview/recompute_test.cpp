// SPDX-License-Identifier: MIT
// The overview follows the main window's inputs; superseded runs never show.
#include <atomic>
#include <memory>

#include <QSignalSpy>

#include "tests/overview/overview_fixture.h"
#include "tests/support/collected_scan.h"
#include "ui/overview/scan_runner.h"

namespace {

TEST_F(OverviewTest, AChangedInputRecomputesAfterAPause)
{
    fibmod::overview::OverviewWindow& overview = open();
    const std::vector<fibmod::ScanRow> before = Rows(overview);
    QSignalSpy shown(&overview, &fibmod::overview::OverviewWindow::rowsShown);
    form.setText(fibmod::kSequence2Fields.r, "5");
    EXPECT_FALSE(overview.computing()) << "not at every key, only after a pause";
    EXPECT_TRUE(Rows(overview).empty()) << "the rows of the old inputs go at once";
    ASSERT_TRUE(waitForRecompute(shown));
    settle();
    EXPECT_EQ(Rows(overview), expectedRows());
    EXPECT_NE(Rows(overview), before);
}

TEST_F(OverviewTest, TheMainWindowComputesWhileTheOverviewScans)
{
    fibmod::overview::OverviewWindow& overview = open();
    form.setText(fibmod::kSequence2Fields.r, "3");
    overview.recomputeIfChanged();
    ASSERT_TRUE(overview.computing());
    form.moveScrollBar(50);
    EXPECT_EQ(form.getText(fibmod::Text2), "50");
    settle();
    const fibmod::ScanRow fifty = Rows(overview)[50 - 2];
    EXPECT_EQ(form.getText(fibmod::Text3(0)), std::to_string(fifty.length1));
    EXPECT_EQ(form.getText(fibmod::Text3(1)), std::to_string(fifty.length2));
    EXPECT_EQ(form.getText(fibmod::Text3(2)), std::to_string(fifty.commonCount()));
    EXPECT_EQ(Rows(overview), expectedRows());
}

TEST_F(OverviewTest, TheModulusAloneChangesNoRow)
{
    fibmod::overview::OverviewWindow& overview = open();
    form.moveScrollBar(9);
    overview.recomputeIfChanged();
    EXPECT_FALSE(overview.computing());
}

TEST_F(OverviewTest, ASupersededRunIsNeverShown)
{
    fibmod::overview::OverviewWindow& overview = open();
    QSignalSpy shown(&overview, &fibmod::overview::OverviewWindow::rowsShown);

    // A run whose rows below 1000 are handed on but not yet taken by the
    // window, then one stopped at once, then the one that counts.
    gate.holdAbove(1000);
    form.setText(fibmod::kSequence1Fields.r, "3");
    overview.recomputeIfChanged();
    gate.waitUntilHeld();
    std::vector<fibmod::ScanRow> seen;
    QObject::connect(overview.model(), &QAbstractItemModel::rowsInserted, &overview, [&](const QModelIndex&, int first, int last) {
        { const std::vector<fibmod::ScanRow> now = Rows(overview); seen.insert(seen.end(), now.begin() + first, now.begin() + last + 1); }
    });
    form.setText(fibmod::kSequence1Fields.r, "5");
    overview.recomputeIfChanged();
    form.setText(fibmod::kSequence1Fields.r, "7");
    overview.recomputeIfChanged();
    gate.open();
    settle();

    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(seen, expectedRows()) << "every row shown belongs to the newest inputs";
    EXPECT_EQ(Rows(overview), expectedRows());
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
    std::atomic<int> computed{0};
    fibmod::overview::ScanRunnerSettings counting;
    counting.scan.beforeModulus = [&computed](std::int64_t) { ++computed; };
    {
        fibmod::overview::ScanRunner runner(counting);
        std::vector<fibmod::ScanRow> rows;
        QObject::connect(&runner, &fibmod::overview::ScanRunner::rowsArrived,
                         [&rows](const std::vector<fibmod::ScanRow>& batch, std::int64_t, std::int64_t) {
                             rows.insert(rows.end(), batch.begin(), batch.end());
                         });
        QSignalSpy finished(&runner, &fibmod::overview::ScanRunner::finished);
        runner.hold(true);
        runner.start(inputs, {}, fibmod::kWindowTermBound);
        QCoreApplication::processEvents();
        EXPECT_TRUE(rows.empty()) << "no row while held";
        EXPECT_EQ(computed, 0);
        runner.hold(false);
        ASSERT_TRUE(finished.wait(20000));
        EXPECT_FALSE(runner.running());
        EXPECT_EQ(rows, *fibmod::Scan(inputs.texts(), {}));
    }
    // Destroying a runner whose scan is held stops the scan: the destructor
    // returns, and not one modulus was computed.
    computed = 0;
    auto held = std::make_unique<fibmod::overview::ScanRunner>(counting);
    QSignalSpy arrived(held.get(), &fibmod::overview::ScanRunner::rowsArrived);
    held->hold(true);
    held->start(inputs, {}, fibmod::kWindowTermBound);
    EXPECT_TRUE(held->running());
    held.reset();
    EXPECT_EQ(computed, 0);
    EXPECT_EQ(arrived.count(), 0);
}
