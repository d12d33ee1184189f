// SPDX-License-Identifier: MIT
// Saving the overview's rows as CSV (streamed anew where residues were not kept) and its chart as PNG.
#pragma once

#include <QString>

#include "core/engine/inputs.h"
#include "core/engine/scan.h"
#include "core/engine/term_bound.h"

class QPixmap;
class QWidget;

namespace fibmod::overview {

class ScanTableModel;

// The scan whose rows are saved: its inputs, its first modulus and its bound.
struct ScanOfRows {
    HeldInputTexts inputs;
    std::int64_t from = kModulusMin;
    TermBound maxTerms = kWindowTermBound;
};

// How a save ended: written, cancelled by the user (nothing written), or
// failed with the message the user reads.
struct SaveOutcome {
    bool cancelled = false;
    QString failure;
};

// Writes the rows `rows` shows to `path` as CSV, byte for byte as
// `fibmod-cli scan` writes the same range: from the rows themselves where
// every residue is kept, else by scanning the range anew (from `scan.from`
// to the last row's modulus) on worker threads straight into the file,
// with a progress dialog over `parent` whose "Abbrechen" stops it and
// leaves any file there as it was.
SaveOutcome SaveRowsCsv(QWidget* parent, const QString& path, const ScanTableModel& rows, const ScanOfRows& scan);

// Writes `picture` to `path` as PNG.
SaveOutcome SavePicturePng(const QString& path, const QPixmap& picture);

} // namespace fibmod::overview
