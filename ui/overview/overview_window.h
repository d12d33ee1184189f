// SPDX-License-Identifier: MIT
// The window "Übersicht": every modulus of a range as a chart and a table.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QWidget>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"
#include "ui/overview/overview_tuning.h"
#include "ui/overview/scan_runner.h"

class Form1;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;
class QTimer;

namespace fibmod::ui {
class NativeWindowWatch;
}

namespace fibmod::overview {

class OverviewChart;
class ScanFilterModel;
class ScanTableModel;

// The window "Übersicht": for the inputs in the main window's fields, every
// modulus of a range ("von", "bis", 2 … 2000 unless set) with at most "max.
// Glieder" terms a cycle, as a chart and as a table that fill in as the
// worker threads compute. It reads the main window's fields and moves its
// scroll bar as a user does, and touches nothing else of it. A changed input
// or range clears the rows at once and recomputes a short pause after the
// last change. It keeps its range, its size and its position.
class OverviewWindow : public QWidget {
    Q_OBJECT

public:
    // A top-level window owned by `main`; starts the first scan at once.
    explicit OverviewWindow(Form1& main, OverviewTuning tuning = {});
    ~OverviewWindow() override;

    // Asks for the file to write: (caption, suggested name, filter) → path,
    // empty when cancelled. Defaults to a save dialog.
    using PathQuestion = std::function<QString(const QString&, const QString&, const QString&)>;
    void setPathQuestion(PathQuestion ask);
    // When set, messages go to the hook instead of a message box.
    void setMessageHook(std::function<void(const QString&)> hook);

    // True from the start of a scan until its last row is shown or it is
    // stopped.
    bool computing() const;

    // Its parts, for tests and benchmarks: the rows, the chart and the table.
    ScanTableModel* model() const { return model_; }
    OverviewChart* chart() const { return chart_; }
    QTableView* tableView() const { return view_; }
    // Starts a scan unless the rows shown or computing belong to the inputs,
    // range and bound as they are now.
    void recomputeIfChanged();
    // Shows the figures of `modulus` in the detail line and, where the main
    // window reaches, its computation there through its scroll bar.
    void showModulus(std::int64_t modulus);
    // The two commands behind the save buttons.
    void saveCsv();
    void savePng();
    // Writes the window's size, position and range to the settings.
    void saveSettings();

signals:
    // The last row of a scan is shown in the table and the chart.
    void rowsShown();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // What a scan computes: the inputs, the moduli and the term bound.
    struct Request {
        HeldInputTexts inputs;
        ModulusRange range;
        TermBound maxTerms;
        friend bool operator==(const Request& a, const Request& b)
        {
            return a.inputs == b.inputs && a.range.from == b.range.from && a.range.to == b.range.to &&
                   a.maxTerms == b.maxTerms;
        }
    };

    void buildControls();
    void wireControls();
    void place();
    void restoreRange();
    Request request();
    void refuse(const QString& why);
    void changed();
    void clearRows();
    void start(Request request);
    void cancel();
    void arrived(const std::vector<ScanRow>& rows, std::int64_t done, std::int64_t total);
    void finish();
    void updateSummary();
    void onTableClick(const QModelIndex& index, bool doubleClick);
    void showDetail(std::int64_t modulus);
    void windowDestroyed();
    QString askPath(const QString& caption, const QString& suggested, const QString& filter);
    void tell(const QString& text);
    // Runs a slot's action; what escapes it is told to the user.
    template <class Action> void guarded(Action&& action);

    Form1& main_;
    const OverviewTuning tuning_;
    ScanTableModel* model_ = nullptr;
    ScanFilterModel* table_ = nullptr;
    ScanRunner* runner_ = nullptr;
    OverviewChart* chart_ = nullptr;
    QTableView* view_ = nullptr;
    QSpinBox* from_ = nullptr;
    QSpinBox* to_ = nullptr;
    QSpinBox* maxTerms_ = nullptr;
    QCheckBox* onlySingle_ = nullptr;
    QCheckBox* logarithmic_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* problem_ = nullptr;
    QLabel* detail_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* resetZoom_ = nullptr;
    QPushButton* saveCsv_ = nullptr;
    QPushButton* savePng_ = nullptr;
    QTimer* pause_ = nullptr;
    // The request whose rows are shown or computing; none after a change
    // cleared them.
    std::optional<Request> shown_;
    bool cancelled_ = false;
    PathQuestion pathQuestion_;
    std::function<void(const QString&)> messageHook_;
    std::unique_ptr<fibmod::ui::NativeWindowWatch> nativeWatch_;
};

// Opens the overview of `main`, or brings the open one to the front and
// brings it up to date. The window belongs to `main` and closes with it;
// `tuning` is for a new one.
OverviewWindow* OpenOverview(Form1& main, const OverviewTuning& tuning = {});

// Makes F2 and the background menu of `main` open its overview.
void OfferOverview(Form1& main, OverviewTuning tuning = {});

} // namespace fibmod::overview
