// SPDX-License-Identifier: MIT
// The residues of rows kept without them, computed again on one worker, latest asked first.
#include "ui/overview/residue_lookup.h"

#include <string>

#include <QMetaObject>

#include "core/engine/row_columns.h"
#include "ui/qt_boundary.h"

namespace fibmod::overview {

namespace {

// Texts kept at hand: a screenful of rows and some.
constexpr std::size_t kTextsKept = 128;
// Requests beyond this many drop the oldest: those rows scrolled away.
constexpr std::size_t kAskedKept = 64;

} // namespace

ResidueLookup::ResidueLookup(QObject* parent) : QObject(parent) { pool_.setMaxThreadCount(1); }

ResidueLookup::~ResidueLookup()
{
    {
        const std::lock_guard lock(mutex_);
        asked_.clear();
    }
    pool_.waitForDone();
}

void ResidueLookup::reset(RowSource again)
{
    const std::lock_guard lock(mutex_);
    ++generation_;
    again_ = again ? std::make_shared<const RowSource>(std::move(again)) : nullptr;
    asked_.clear();
    recent_.clear();
    byModulus_.clear();
}

namespace {

template <class Residue> QString CutText(std::span<const Residue> residues)
{
    std::string text;
    if (AppendResidues(text, residues, kCellResidues) < residues.size()) text += " …";
    return QString::fromStdString(text);
}

} // namespace

QString ResidueCellText(std::span<const std::uint32_t> residues) { return CutText(residues); }

QString ResidueCellText(std::span<const std::int64_t> residues) { return CutText(residues); }

std::optional<QString> ResidueLookup::text(std::int64_t modulus)
{
    const std::lock_guard lock(mutex_);
    if (const auto at = byModulus_.find(modulus); at != byModulus_.end()) {
        recent_.splice(recent_.begin(), recent_, at->second);
        return at->second->second;
    }
    if (!again_) return std::nullopt;
    std::erase(asked_, modulus);
    asked_.push_back(modulus);
    if (asked_.size() > kAskedKept) asked_.pop_front();
    if (!working_) {
        working_ = true;
        pool_.start([this] { ui::AtQtBoundary("residues", [this] { work(); }); });
    }
    return std::nullopt;
}

void ResidueLookup::work()
{
    std::unique_lock lock(mutex_);
    while (!asked_.empty()) {
        const std::int64_t modulus = asked_.back();
        asked_.pop_back();
        const std::uint64_t generation = generation_;
        const std::shared_ptr<const RowSource> again = again_;
        lock.unlock();
        QString text;
        ui::AtQtBoundary("residues", [&] { text = ResidueCellText((*again)(modulus).residues); });
        lock.lock();
        if (generation != generation_) continue;
        recent_.emplace_front(modulus, std::move(text));
        byModulus_[modulus] = recent_.begin();
        if (recent_.size() > kTextsKept) {
            byModulus_.erase(recent_.back().first);
            recent_.pop_back();
        }
        QMetaObject::invokeMethod(this, [this, modulus] { emit found(modulus); }, Qt::QueuedConnection);
    }
    working_ = false;
}

} // namespace fibmod::overview
