// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <vector>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QStringList>

#include <gtest/gtest.h>

#include "core/scan.h"
#include "ui/form1.h"
#include "ui/overview/overview_window.h"
#include "core/inputs.h"

// A fresh main window per test with its overview open; message boxes of
// both windows are answered by the test.
class OverviewTest : public ::testing::Test {
protected:
    OverviewTest()
    {
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
        settle();
        return *window;
    }

    // Lets the worker end and its rows reach the window.
    void settle()
    {
        window->waitForWorker();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        ASSERT_FALSE(window->computing());
    }

    // Waits, at most 20 s, for the overview to show a recomputed scan.
    bool waitForRecompute(QSignalSpy& shown) { return shown.count() > 0 || shown.wait(20000); }

    // What the core's scan gives for the inputs in the main window's fields.
    std::vector<fibmod::ScanRow> expectedRows()
    {
        const fibmod::HeldInputTexts inputs = fibmod::ReadInputTexts(form);
        std::optional<std::vector<fibmod::ScanRow>> rows = fibmod::Scan(inputs.texts(), {});
        EXPECT_TRUE(rows.has_value());
        return rows.value_or(std::vector<fibmod::ScanRow>{});
    }

    Form1 form;
    fibmod::overview::OverviewWindow* window = nullptr;
    QStringList messages;
};
