// SPDX-License-Identifier: MIT
// The overview window under test, with its scan held where a test needs it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include <QCoreApplication>
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
#include "ui/overview/overview_window.h"
#include "ui/overview/scan_table_model.h"

// Holds the overview's scans before every modulus above a limit until the
// test opens it; a stopped scan passes at once. Open unless told otherwise.
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
        opened_.notify_all();
    }
    // The hook for OverviewWindow::setScanGate.
    fibmod::overview::ScanRunner::Gate hook()
    {
        return {.wait =
                    [this](std::int64_t modulus, std::stop_token stop) {
                        std::unique_lock lock(mutex_);
                        opened_.wait(lock, stop, [&] { return passes(modulus); });
                    },
                .isOpen =
                    [this](std::int64_t modulus) {
                        const std::lock_guard lock(mutex_);
                        return passes(modulus);
                    }};
    }

private:
    bool passes(std::int64_t modulus) const { return !limit_ || modulus <= *limit_; }

    std::mutex mutex_;
    std::condition_variable_any opened_;
    std::optional<std::int64_t> limit_;
};

// A fresh main window per test with its overview open; message boxes of
// both windows are answered by the test.
class OverviewTest : public ::testing::Test {
protected:
    OverviewTest()
    {
        // Each test starts from the defaults: no range or place kept.
        QSettings(QStringLiteral("fibmod"), QStringLiteral("fibmod")).clear();
        form.setMessageHook([this](const QString& text) { messages << text; });
        fibmod::overview::OfferOverview(form);
        form.show();
    }

    // Opens the overview as F2 does and waits until it shows its rows.
    fibmod::overview::OverviewWindow& open()
    {
        emit form.overviewRequested();
        window = form.findChild<fibmod::overview::OverviewWindow*>();
        EXPECT_NE(window, nullptr);
        window->setMessageHook([this](const QString& text) { messages << text; });
        window->setScanGate(gate.hook());
        settle();
        return *window;
    }

    // Lets the worker end and its rows reach the window and the chart.
    void settle()
    {
        window->waitForWorker();
        window->deliverNow();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        window->chart()->refreshNow();
        ASSERT_FALSE(window->computing());
    }

    // Shows the rows as they are computed until there are `count`; the
    // scan must reach that many (a gate above them holds it there).
    void waitForRows(int count)
    {
        while (window->model()->rowCount() < count) {
            window->deliverNow();
            std::this_thread::yield();
        }
        QCoreApplication::processEvents();
        window->chart()->refreshNow();
    }

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
