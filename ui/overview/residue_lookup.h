// SPDX-License-Identifier: MIT
// The residues of rows kept without them, computed again on a worker thread as the table asks.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <unordered_map>

#include <QObject>
#include <QString>
#include <QThreadPool>

#include "core/engine/scan_row.h"

namespace fibmod::overview {

// A table cell lists this many residues at most, then " …": a cycle
// without a term bound may have hundreds of thousands, and laying out such
// a text at every paint kept the window from answering.
inline constexpr std::size_t kCellResidues = 100;

// A cell's residues ("1 2 4"): the first kCellResidues of them as the
// engine writes them (AppendResidues), then " …" when more follow.
QString ResidueCellText(std::span<const std::uint32_t> residues);
QString ResidueCellText(std::span<const std::int64_t> residues);

// Computes one modulus' row again, as the scan did; callable on any thread.
using RowSource = std::function<ScanRow(std::int64_t modulus)>;

// The residues' cell text (ResidueCellText) of moduli whose rows were kept without
// their residues. What is asked and not at hand is computed on one worker
// thread, the latest asked first (the rows on screen), and found() says
// when it is there. It keeps the texts of the last few moduli computed.
class ResidueLookup : public QObject {
    Q_OBJECT

public:
    explicit ResidueLookup(QObject* parent = nullptr);
    // Waits for the modulus in hand; drops the others asked.
    ~ResidueLookup() override;

    // Forgets every text and request; rows are computed with `again` from now on.
    void reset(RowSource again);
    // The text of `modulus` when at hand; otherwise asks for it and answers none.
    std::optional<QString> text(std::int64_t modulus);

signals:
    // The text of `modulus` is now at hand (for the rows as they are now).
    void found(std::int64_t modulus);

private:
    void work();

    std::mutex mutex_;
    // Guarded by mutex_: the moduli asked, latest last; whether a worker
    // runs; the texts at hand, most recently used first.
    std::deque<std::int64_t> asked_;
    bool working_ = false;
    std::uint64_t generation_ = 0;
    std::shared_ptr<const RowSource> again_;
    std::list<std::pair<std::int64_t, QString>> recent_;
    std::unordered_map<std::int64_t, std::list<std::pair<std::int64_t, QString>>::iterator> byModulus_;
    QThreadPool pool_;
};

} // namespace fibmod::overview
