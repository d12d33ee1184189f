// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QWidget>

#include "core/scan.h"
#include "core/inputs.h"

class Form1;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;

namespace fibmod::overview {

class OverviewChart;
class ScanFilterModel;
class ScanRunner;
class ScanTableModel;

// The window "Übersicht": for the inputs in the main window's fields, every
// modulus 2 … 2000 as a chart and as a table, computed on a worker thread.
// It reads the main window's fields and moves its scroll bar as a user does,
// and touches nothing else of it. It recomputes a short pause after the
// last change of an input, and remembers its size and position.
class OverviewWindow : public QWidget {
    Q_OBJECT

public:
    // A top-level window owned by `main`; starts the first scan at once.
    explicit OverviewWindow(Form1& main);
    ~OverviewWindow() override;

    // Asks for the file to write: (caption, suggested name, filter) → path,
    // empty when cancelled. Defaults to a save dialog.
    using PathQuestion = std::function<QString(const QString&, const QString&, const QString&)>;
    void setPathQuestion(PathQuestion ask);
    // When set, messages go to the hook instead of a message box.
    void setMessageHook(std::function<void(const QString&)> hook);

    // The rows shown now, ascending by modulus; empty before the first scan ends.
    const std::vector<ScanRow>& rows() const;
    // The inputs of the rows shown, or of the scan running.
    const HeldInputTexts& inputs() const { return inputs_; }
    // True from the start of a scan until its rows are shown.
    bool computing() const;
    // Blocks until the worker is idle; its rows still wait in the event queue.
    void waitForWorker();

    // Its parts, for tests and benchmarks: the rows, the table's sorted and
    // filtered view of them, the chart and the table.
    ScanTableModel* model() const { return model_; }
    ScanFilterModel* tableModel() const { return table_; }
    OverviewChart* chart() const { return chart_; }
    QTableView* tableView() const { return view_; }

    // Reads the fields and starts a scan unless the rows already belong to them.
    void recomputeIfChanged();
    // Shows the main window's computation for `modulus` through its scroll bar.
    void showModulus(int modulus);
    // The two commands behind the save buttons.
    void saveCsv();
    void savePng();

signals:
    // The rows of a completed scan are shown in the table and the chart.
    void rowsShown();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void wireControls();
    void start(HeldInputTexts inputs);
    void display(std::uint64_t generation, const std::vector<ScanRow>& rows);
    void onDoubleClick(const QModelIndex& index);
    QString askPath(const QString& caption, const QString& suggested, const QString& filter);
    void tell(const QString& text);
    template <class Action> void guarded(Action&& action);
    void saveGeometryNow();

    Form1& main_;
    ScanTableModel* model_ = nullptr;
    ScanFilterModel* table_ = nullptr;
    ScanFilterModel* singles_ = nullptr;
    ScanFilterModel* errors_ = nullptr;
    ScanRunner* runner_ = nullptr;
    OverviewChart* chart_ = nullptr;
    QTableView* view_ = nullptr;
    QCheckBox* onlySingle_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* resetZoom_ = nullptr;
    QPushButton* saveCsv_ = nullptr;
    QPushButton* savePng_ = nullptr;
    QTimer* pause_ = nullptr;
    HeldInputTexts inputs_;
    PathQuestion pathQuestion_;
    std::function<void(const QString&)> messageHook_;
};

// Opens the overview of `main`, or brings the open one to the front and
// brings it up to date. The window belongs to `main` and closes with it.
OverviewWindow* OpenOverview(Form1& main);

// Makes F2 and the background menu of `main` open its overview.
void OfferOverview(Form1& main);

} // namespace fibmod::overview
