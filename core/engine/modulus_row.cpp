// SPDX-License-Identifier: MIT
// One modulus's row: the exact integer path or the window's doubles.
#include "core/engine/modulus_row.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "core/engine/input_rules.h"
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
ScanRow ScanModulusInIntegers(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms)
{
    const auto M = static_cast<std::uint64_t>(modulus);
    ResidueSet residues2(M);
    ResidueSet residues1(M);
    const WholeCycle cycle2 = WalkWholeCycle(*WholeModulo(inputs.two, modulus), M, maxTerms, residues2);
    const auto failed = [modulus](const WholeCycle& cycle, int sequence) -> std::optional<ScanRow> {
        if (cycle.end == WholeCycle::End::PastBound) return ErrorRow(modulus, SubscriptOutOfRange());
        if (cycle.end == WholeCycle::End::NeverRecurs)
            return NeverRecursRow(modulus, sequence, cycle.tail, cycle.length);
        return std::nullopt;
    };
    if (auto row = failed(cycle2, 2)) return *row;
    const WholeCycle cycle1 = WalkWholeCycle(*WholeModulo(inputs.one, modulus), M, maxTerms, residues1);
    if (auto row = failed(cycle1, 1)) return *row;
    ScanRow row;
    row.modulus = modulus;
    row.length1 = cycle1.length;
    row.length2 = cycle2.length;
    row.residues = Common(residues1, residues2);
    return row;
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

ScanRow ScanModulus(const Inputs& inputs, std::int64_t modulus, TermBound maxTerms)
{
    if (!BoundFits(inputs, maxTerms)) throw std::invalid_argument(BoundProblem(inputs, maxTerms));
    CheckEngineModulus(modulus);
    if (UsesWholeNumbers(inputs, modulus, maxTerms)) return ScanModulusInIntegers(inputs, modulus, maxTerms);
    return ScanModulusInDoubles(inputs, modulus, *maxTerms);
}

} // namespace fibmod
