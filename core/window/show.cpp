// SPDX-License-Identifier: MIT
// One modulus with its listings, for interfaces without the window.
#include "core/window/show.h"

#include <memory>
#include <stdexcept>

#include "core/engine/modulus_range.h"
#include "core/engine/modulus_row.h"
#include "core/engine/run_time_error.h"
#include "core/engine/whole_cycle.h"
#include "core/window/field_access.h"
#include "core/window/field_roles.h"
#include "core/window/input_fields.h"
#include "core/window/listing_text.h"
#include "core/window/memory_fields.h"
#include "core/window/run_state.h"

namespace fibmod {

namespace {

bool WindowReaches(std::int64_t modulus, TermBound maxTerms)
{
    return modulus <= kModulusMax && maxTerms == kWindowTermBound;
}

// The terms of one cycle, by the same path its row took.
std::vector<double> Terms(const Inputs& inputs, const Sequence& sequence, std::int64_t modulus, TermBound maxTerms)
{
    if (!UsesWholeNumbers(inputs, modulus, maxTerms)) return Cycle(sequence, static_cast<double>(modulus), *maxTerms);
    std::vector<std::uint64_t> whole;
    ListWholeCycle(*WholeModulo(sequence, modulus), static_cast<std::uint64_t>(modulus), maxTerms, whole);
    return {whole.begin(), whole.end()};
}

// The window itself, without a window: the fields after the modulus is typed.
void TypeIntoFields(const InputTexts& texts, std::int64_t modulus, ShownModulus& shown)
{
    const auto state = std::make_unique<RunState>();
    MemoryFields fields(*state);
    const std::string typed = std::to_string(modulus);
    InputTexts withModulus = texts;
    withModulus.modulus = typed;
    try {
        // The user empties the modulus field, types the inputs and then the
        // modulus, whose change runs the computation.
        fields.setText(kModulusField, "");
        WriteInputs(fields, withModulus);
    } catch (const RunTimeError&) {
        // The row carries the error; the fields keep what was written.
    }
    shown.listing1 = fields.getText(kSequence1Fields.listing);
    shown.listing2 = fields.getText(kSequence2Fields.listing);
    shown.common = fields.getText(kCommonMembersField);
    shown.length1 = fields.getText(kSequence1Fields.length);
    shown.length2 = fields.getText(kSequence2Fields.length);
    shown.count = fields.getText(kCommonCountField);
}

// The same texts made from the figures, where the window does not reach.
void WriteTexts(ShownModulus& shown)
{
    for (const double term : shown.terms1) AppendTermLine(shown.listing1, term);
    for (const double term : shown.terms2) AppendTermLine(shown.listing2, term);
    if (shown.row.failed()) return;
    for (const CommonMember& member : shown.members) AppendMemberLine(shown.common, member);
    AppendSummaryHeading(shown.common);
    for (const std::int64_t residue : shown.row.residues) AppendResidueLine(shown.common, residue);
    shown.length1 = std::to_string(shown.row.length1);
    shown.length2 = std::to_string(shown.row.length2);
    shown.count = std::to_string(shown.row.commonCount());
}

} // namespace

ShownModulus ShowModulus(const InputTexts& texts, std::int64_t modulus, TermBound maxTerms, bool listings)
{
    CheckEngineModulus(modulus);
    ShownModulus shown;
    Inputs inputs;
    try {
        inputs = ValuesOf(texts);
    } catch (const RunTimeError& error) {
        shown.row = ErrorRow(modulus, error);
        if (WindowReaches(modulus, maxTerms)) TypeIntoFields(texts, modulus, shown);
        return shown;
    }
    shown.row = ScanModulus(inputs, modulus, maxTerms);
    if (listings && !shown.row.failed()) {
        shown.terms2 = Terms(inputs, inputs.two, modulus, maxTerms);
        shown.terms1 = Terms(inputs, inputs.one, modulus, maxTerms);
        shown.members = CommonMembers(shown.terms2, shown.terms1);
    }
    if (listings && WindowReaches(modulus, maxTerms)) {
        TypeIntoFields(texts, modulus, shown);
        return shown;
    }
    WriteTexts(shown);
    return shown;
}

} // namespace fibmod
