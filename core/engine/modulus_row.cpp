// SPDX-License-Identifier: MIT
// One modulus's row: the exact integer path or the window's doubles.
#include "core/engine/modulus_row.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "core/engine/input_rules.h"
#include "core/engine/lanes/lane_walk.h"
#include "core/engine/modulus_range.h"
#include "core/engine/recurrence.h"
#include "core/engine/run_time_error.h"
#include "core/engine/whole_cycle.h"

namespace fibmod {

namespace {

// Past the window's flag table the engine keeps no table: the flagged
// residues are the common values rounded to the nearest integer, ties to
// even, that lie in 0 … M. A negative one is error 9, as the table's index.
std::vector<std::int64_t> RoundedCommonResidues(std::span<const CommonMember> members, double M)
{
    std::vector<std::int64_t> residues;
    for (const CommonMember& member : members) {
        const double n = RoundedCommonValue(member.value);
        if (n <= M) residues.push_back(static_cast<std::int64_t>(n));
    }
    std::sort(residues.begin(), residues.end());
    residues.erase(std::unique(residues.begin(), residues.end()), residues.end());
    return residues;
}

} // namespace

// The window's computation in doubles, sequence 2 first.
ScanRow ScanModulusInDoubles(const Inputs& inputs, std::int64_t modulus, std::int64_t maxTerms)
{
    const auto M = static_cast<double>(modulus);
    try {
        const std::vector<double> cycle2 = Cycle(inputs.two, M, maxTerms);
        const std::vector<double> cycle1 = Cycle(inputs.one, M, maxTerms);
        ScanRow row;
        row.modulus = modulus;
        row.length1 = static_cast<std::int64_t>(cycle1.size());
        row.length2 = static_cast<std::int64_t>(cycle2.size());
        const std::vector<CommonMember> members = CommonMembers(cycle2, cycle1);
        if (modulus <= kModulusMax) {
            const std::vector<std::int32_t> flagged = CommonResidues(members, M);
            row.residues.assign(flagged.begin(), flagged.end());
        } else {
            row.residues = RoundedCommonResidues(members, M);
        }
        return row;
    } catch (const RunTimeError& error) {
        return ErrorRow(modulus, error);
    }
}

// The same in exact integers, sequence 2 first.
ScanRow ScanModulusPlainly(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms)
{
    const auto M = static_cast<std::uint64_t>(modulus);
    ResidueSet residues2(M);
    ResidueSet residues1(M);
    const WholeSequence two = *WholeModulo(inputs.two, modulus);
    const WholeSequence one = *WholeModulo(inputs.one, modulus);
    const auto failed = [modulus](const WholeCycle& cycle, int sequence) -> std::optional<ScanRow> {
        if (cycle.end == WholeCycle::End::PastBound) return ErrorRow(modulus, SubscriptOutOfRange());
        if (cycle.end == WholeCycle::End::NeverRecurs)
            return NeverRecursRow(modulus, sequence, cycle.tail, cycle.length);
        return std::nullopt;
    };
    // Sequence 2 first: its failure is the row's, whatever sequence 1 does.
    WholeCycle cycle2;
    WholeCycle cycle1;
    if (WalksPlainly(two, M, maxTerms) && WalksPlainly(one, M, maxTerms)) {
        const auto walked = WalkWholeCyclesInStep(two, one, M, maxTerms, residues2, residues1);
        cycle2 = walked[0];
        cycle1 = walked[1];
        if (auto row = failed(cycle2, 2)) return *row;
    } else {
        cycle2 = WalkWholeCycle(two, M, maxTerms, residues2);
        if (auto row = failed(cycle2, 2)) return *row;
        cycle1 = WalkWholeCycle(one, M, maxTerms, residues1);
    }
    if (auto row = failed(cycle1, 1)) return *row;
    ScanRow row;
    row.modulus = modulus;
    row.length1 = cycle1.length;
    row.length2 = cycle2.length;
    row.residues = Common(residues1, residues2);
    return row;
}

namespace {

// Above this modulus a flag table costs more to clear than a short cycle to
// walk: the plain walk goes first, as far as the plain residue set keeps a
// list.
constexpr std::int64_t kPlainFirstAbove = std::int64_t{1} << 20;

lanes::LaneSequence InLanes(const Sequence& sequence, std::int64_t modulus)
{
    const WholeSequence whole = *WholeModulo(sequence, modulus);
    return {static_cast<std::uint32_t>(modulus), static_cast<std::uint32_t>(whole.r),
            static_cast<std::uint32_t>(whole.s), static_cast<std::uint32_t>(whole.first),
            static_cast<std::uint32_t>(whole.second)};
}

// Both sequences walked in lanes, sequence 2 first; none when stopped.
std::optional<ScanRow> LaneRow(const lanes::LaneSequence& one, const lanes::LaneSequence& two, TermBound maxTerms,
                               RowScratch& scratch)
{
    const std::int64_t modulus = one.M;
    const lanes::LaneWalk walk2 = lanes::WalkInLanes(two, maxTerms, scratch.two, scratch.stop);
    if (walk2.end == lanes::LaneWalk::End::Stopped) return std::nullopt;
    if (walk2.end == lanes::LaneWalk::End::PastBound) return ErrorRow(modulus, SubscriptOutOfRange());
    const lanes::LaneWalk walk1 = lanes::WalkInLanes(one, maxTerms, scratch.one, scratch.stop);
    if (walk1.end == lanes::LaneWalk::End::Stopped) return std::nullopt;
    if (walk1.end == lanes::LaneWalk::End::PastBound) return ErrorRow(modulus, SubscriptOutOfRange());
    ScanRow row;
    row.modulus = modulus;
    row.length1 = walk1.length;
    row.length2 = walk2.length;
    if (scratch.residues)
        row.residues = Common(scratch.one, scratch.two);
    else
        row.unlistedCount = CommonCount(scratch.one, scratch.two);
    return row;
}

} // namespace

std::optional<ScanRow> ScanModulusInIntegers(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms,
                                             RowScratch& scratch)
{
    if (modulus < kLaneModulusMin || !lanes::kVectorLoopBuilt) return ScanModulusPlainly(inputs, modulus, maxTerms);
    const lanes::LaneSequence one = InLanes(inputs.one, modulus);
    const lanes::LaneSequence two = InLanes(inputs.two, modulus);
    if (!lanes::LanesTake(one) || !lanes::LanesTake(two)) return ScanModulusPlainly(inputs, modulus, maxTerms);
    if (modulus > kPlainFirstAbove) {
        const std::int64_t first = modulus / 64;
        const TermBound prefix = maxTerms && *maxTerms <= first ? maxTerms : TermBound(first);
        ScanRow row = ScanModulusPlainly(inputs, modulus, prefix);
        // Past the prefix only when it was shorter than the bound.
        if (!row.runTimeError() || prefix == maxTerms) return row;
    }
    return LaneRow(one, two, maxTerms, scratch);
}

ScanRow ScanModulusInIntegers(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms)
{
    RowScratch scratch;
    return *ScanModulusInIntegers(inputs, modulus, maxTerms, scratch);
}

bool UsesWholeNumbers(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms)
{
    // With no bound only exact integers are sure to find every cycle's end.
    if (modulus > kModulusMax || !maxTerms) return IsWhole(inputs.one) && IsWhole(inputs.two);
    return WindowArithmeticIsExact(inputs.one, modulus) && WindowArithmeticIsExact(inputs.two, modulus);
}

bool BoundFits(const Inputs& inputs, TermBound maxTerms)
{
    if (maxTerms) return *maxTerms >= 1 && *maxTerms <= kTermBoundMax;
    return IsWhole(inputs.one) && IsWhole(inputs.two);
}

std::string BoundProblem(const Inputs& inputs, TermBound maxTerms)
{
    if (BoundFits(inputs, maxTerms)) return {};
    if (maxTerms) return "Die Gliederzahl muss zwischen 1 und 2^62 liegen";
    return "Ohne Gliederbegrenzung müssen r, s und die Startwerte ganze Zahlen sein";
}

std::string BoundProblem(const InputTexts& texts, TermBound maxTerms)
{
    Inputs inputs;
    try {
        inputs = ValuesOf(texts);
    } catch (const RunTimeError&) {
        return {};
    }
    return BoundProblem(inputs, maxTerms);
}

void CheckEngineModulus(std::int64_t modulus)
{
    if (modulus < kModulusMin || modulus > kEngineModulusMax)
        throw std::invalid_argument(OutsideRange(std::to_string(modulus), kModulusMin, kEngineModulusMax));
}

std::optional<ScanRow> ScanModulus(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms,
                                   RowScratch& scratch)
{
    if (!BoundFits(inputs, maxTerms)) throw std::invalid_argument(BoundProblem(inputs, maxTerms));
    CheckEngineModulus(modulus);
    std::optional<ScanRow> row = UsesWholeNumbers(inputs, modulus, maxTerms)
                                     ? ScanModulusInIntegers(inputs, modulus, maxTerms, scratch)
                                     : ScanModulusInDoubles(inputs, modulus, *maxTerms);
    if (row && !scratch.residues) row->dropResidues();
    return row;
}

ScanRow ScanModulus(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms)
{
    RowScratch scratch;
    return *ScanModulus(inputs, modulus, maxTerms, scratch);
}

} // namespace fibmod
