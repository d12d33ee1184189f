// SPDX-License-Identifier: MIT
// The overview window under test, with its scan held where a test needs it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include <QCoreApplication>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStringList>

#include <gtest/gtest.h>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"
#include "core/window/input_fields.h"
#include "tests/support/collected_scan.h"
#include "ui/form1.h"
#include "ui/overview/overview_chart.h"
#include "ui/overview/overview_tuning.h"
#include "ui/overview/overview_window.h"
#include "ui/overview/scan_table_model.h"

// Holds the overview's scans before every modulus above a limit until the
// test opens it. Open unless told otherwise.
class ScanGate {
public:
    void holdAbove(std::int64_t limit)
    {
        const std::lock_guard lock(mutex_);
        limit_ = limit;
    }
    void open()
    {
        {
            const std::lock_guard lock(mutex_);
            limit_.reset();
        }
        changed_.notify_all();
    }
    // Blocks until a worker waits at the gate: every row below the limit is
    // then handed on to the window, which takes it at its next event.
    void waitUntilHeld()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return waiting_ > 0; });
    }
    // Holds the scan of `tuning` here, after the main window's hold.
    void holdIn(fibmod::overview::OverviewTuning& tuning)
    {
        tuning.scan.scan.beforeModulus = [this](std::int64_t modulus) {
            std::unique_lock lock(mutex_);
            if (passes(modulus)) return;
            ++waiting_;
            changed_.notify_all();
            changed_.wait(lock, [&] { return passes(modulus); });
            --waiting_;
        };
    }

private:
    bool passes(std::int64_t modulus) const { return !limit_ || modulus <= *limit_; }

    std::mutex mutex_;
    // Wakes the workers at open() and the test when one of them waits.
    std::condition_variable changed_;
    std::optional<std::int64_t> limit_;
    int waiting_ = 0;
};

// A fresh main window per test, whose F2 opens an overview with `tuning`
// and its scan held at the gate; message boxes of both windows are
// answered by the test.
class OverviewTest : public ::testing::Test {
protected:
    explicit OverviewTest(fibmod::overview::OverviewTuning tuning = {})
    {
        // Each test starts from the defaults: no range or place kept.
        QSettings(QStringLiteral("fibmod"), QStringLiteral("fibmod")).clear();
        form.setMessageHook([this](const QString& text) { messages << text; });
        gate.holdIn(tuning);
        fibmod::overview::OfferOverview(form, std::move(tuning));
        form.show();
    }
    // A scan still held lets go, so that the window's end can stop it.
    ~OverviewTest() override { gate.open(); }

    // Opens the overview as F2 does and waits until it shows its rows.
    fibmod::overview::OverviewWindow& open()
    {
        emit form.overviewRequested();
        window = form.findChild<fibmod::overview::OverviewWindow*>();
        EXPECT_NE(window, nullptr);
        window->setMessageHook([this](const QString& text) { messages << text; });
        settle();
        return *window;
    }

    // Waits, at most 20 s, until `overview` shows the last row of its scan.
    static bool WaitUntilShown(fibmod::overview::OverviewWindow& overview)
    {
        QSignalSpy shown(&overview, &fibmod::overview::OverviewWindow::rowsShown);
        return !overview.computing() || shown.wait(20000);
    }

    // Lets the scan end and its rows reach the window and the chart.
    void settle()
    {
        ASSERT_TRUE(WaitUntilShown(*window));
        QCoreApplication::processEvents();
        window->chart()->refreshNow();
        ASSERT_FALSE(window->computing());
    }

    // Shows the rows as they are computed until there are `count`; the
    // scan must reach that many (a gate above them holds it there).
    void waitForRows(int count)
    {
        while (window->model()->rowCount() < count) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
        window->chart()->refreshNow();
    }

    // The rows shown, whole: residues not kept are computed again.
    static std::vector<fibmod::ScanRow> Rows(const fibmod::overview::OverviewWindow& overview)
    {
        std::vector<fibmod::ScanRow> rows;
        for (int at = 0; at < overview.model()->rowCount(); ++at) rows.push_back(overview.model()->row(at));
        return rows;
    }

    // The text of the line that says `what` ("Ergebnis", "Einzelheiten",
    // "Hinweis") to assistive technology.
    static QString Line(const fibmod::overview::OverviewWindow& overview, const QString& what)
    {
        for (const QLabel* label : overview.findChildren<QLabel*>())
            if (label->accessibleDescription() == what) return label->text();
        ADD_FAILURE() << "no line " << what.toStdString();
        return {};
    }
    static QString SummaryText(const fibmod::overview::OverviewWindow& overview) { return Line(overview, QStringLiteral("Ergebnis")); }
    static QString DetailText(const fibmod::overview::OverviewWindow& overview) { return Line(overview, QStringLiteral("Einzelheiten")); }
    static QString ProblemText(const fibmod::overview::OverviewWindow& overview) { return Line(overview, QStringLiteral("Hinweis")); }

    // Waits, at most 20 s, for the overview to show a recomputed scan.
    bool waitForRecompute(QSignalSpy& shown) { return shown.count() > 0 || shown.wait(20000); }

    // The overview's spin box with this accessible name ("von", "bis", "max. Glieder").
    QSpinBox* box(const QString& name)
    {
        for (QSpinBox* found : window->findChildren<QSpinBox*>())
            if (found->accessibleName() == name) return found;
        ADD_FAILURE() << "no spin box " << name.toStdString();
        return nullptr;
    }

    // What the core's scan gives for the inputs in the main window's fields.
    std::vector<fibmod::ScanRow> expectedRows(fibmod::ModulusRange range = {},
                                              fibmod::TermBound maxTerms = fibmod::kWindowTermBound)
    {
        const fibmod::HeldInputTexts inputs = fibmod::ReadInputTexts(form);
        fibmod::ScanOptions options;
        options.maxTerms = maxTerms;
        std::optional<std::vector<fibmod::ScanRow>> rows = fibmod::Scan(inputs.texts(), range, options);
        EXPECT_TRUE(rows.has_value());
        return rows.value_or(std::vector<fibmod::ScanRow>{});
    }

    // Outlives the main window, whose overview's scan may wait in it.
    ScanGate gate;
    Form1 form;
    fibmod::overview::OverviewWindow* window = nullptr;
    QStringList messages;
};
