// SPDX-License-Identifier: MIT
// The overview's CSV (from the rows kept or streamed anew, with progress) and PNG files.
#include "ui/overview/saving.h"

#include <atomic>
#include <memory>
#include <stop_token>
#include <string>

#include <QEventLoop>
#include <QFutureWatcher>
#include <QPixmap>
#include <QProgressDialog>
#include <QSaveFile>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include "core/engine/scan_csv.h"
#include "ui/file_error_reason.h"
#include "ui/overview/scan_table_model.h"
#include "ui/qt_boundary.h"

namespace fibmod::overview {

namespace {

// The text gathered before it goes to the file in one write.
constexpr std::size_t kWriteChunk = std::size_t{1} << 20;

QString Failure(const QString& path, const QString& reason)
{
    return QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: %2").arg(path, reason);
}

// A file that is replaced only once it is whole. Where no file can be made
// beside it (a folder such as /proc) it is written in place, so that the
// failure is the file's own.
void Prepare(QSaveFile& file) { file.setDirectWriteFallback(true); }

bool Write(QSaveFile& file, const std::string& text)
{
    return file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
}

bool AllKept(const ScanTableModel& rows)
{
    for (std::size_t at = 0; at < rows.kept().size(); ++at)
        if (!rows.kept().residuesKept(at)) return false;
    return true;
}

// What the worker that streams the range shares with the dialog.
struct Stream {
    std::stop_source stop;
    std::atomic<std::int64_t> done{0};
};

// On a worker: the range's rows into the file at `path`. False when stopped
// or when writing failed (the file's error then tells why).
bool StreamCsv(QSaveFile& file, const ScanOfRows& scan, ModulusRange range, Stream& stream)
{
    std::string chunk = ScanCsvHeader();
    bool written = true;
    ScanOptions options;
    options.maxTerms = scan.maxTerms;
    options.stop = stream.stop.get_token();
    const bool complete = ScanRows(scan.inputs.texts(), range, options, [&](ScanRow&& row) {
        chunk += ScanCsvLine(row);
        stream.done.fetch_add(1, std::memory_order_relaxed);
        if (chunk.size() >= kWriteChunk) {
            if (!Write(file, chunk)) {
                written = false;
                stream.stop.request_stop();
            }
            chunk.clear();
        }
    });
    return complete && written && Write(file, chunk);
}

} // namespace

SaveOutcome SaveRowsCsv(QWidget* parent, const QString& path, const ScanTableModel& rows, const ScanOfRows& scan)
{
    QSaveFile file(path);
    Prepare(file);
    if (!file.open(QIODevice::WriteOnly)) return {false, Failure(path, ui::WriteFailureReason(path, file))};
    if (rows.rowCount() == 0 || AllKept(rows)) {
        bool written = Write(file, ScanCsvHeader());
        for (int at = 0; written && at < rows.rowCount(); ++at) written = Write(file, ScanCsvLine(rows.row(at)));
        if (written && file.commit()) return {};
        file.cancelWriting();
        return {false, Failure(path, ui::WriteFailureReason(path, file))};
    }

    const ModulusRange range{scan.from, rows.kept().modulus(rows.kept().size() - 1)};
    const auto total = static_cast<int>(range.to - range.from + 1);
    auto stream = std::make_shared<Stream>();
    QProgressDialog progress(QStringLiteral("Die Moduln werden neu berechnet und gespeichert …"),
                             QStringLiteral("Abbrechen"), 0, total, parent);
    progress.setWindowTitle(QStringLiteral("Als CSV speichern"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QObject::connect(&progress, &QProgressDialog::canceled, [stream] { stream->stop.request_stop(); });

    bool streamed = false;
    QFutureWatcher<void> watcher;
    QEventLoop wait;
    QObject::connect(&watcher, &QFutureWatcher<void>::finished, &wait, &QEventLoop::quit);
    QTimer tick;
    tick.setInterval(100);
    QObject::connect(&tick, &QTimer::timeout, &progress,
                     [&] { progress.setValue(static_cast<int>(stream->done.load(std::memory_order_relaxed))); });
    // The file is the worker's until it ends; this thread only waits.
    watcher.setFuture(QtConcurrent::run([&] {
        ui::AtQtBoundary("export", [&] { streamed = StreamCsv(file, scan, range, *stream); });
    }));
    tick.start();
    if (!watcher.isFinished()) wait.exec();
    tick.stop();

    if (stream->stop.stop_requested() && file.error() == QFileDevice::NoError) {
        file.cancelWriting();
        return {true, {}};
    }
    if (streamed && file.commit()) return {};
    file.cancelWriting();
    return {false, Failure(path, ui::WriteFailureReason(path, file))};
}

SaveOutcome SavePicturePng(const QString& path, const QPixmap& picture)
{
    QSaveFile file(path);
    Prepare(file);
    if (file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit()) return {};
    file.cancelWriting();
    return {false, Failure(path, ui::WriteFailureReason(path, file))};
}

} // namespace fibmod::overview
