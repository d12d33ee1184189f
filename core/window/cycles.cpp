// SPDX-License-Identifier: MIT
// The window's procedures on any field access: the cycles, the common members and the stepping.
#include "core/window/cycles.h"

#include <cstdint>
#include <limits>
#include <string>

#include "core/engine/inputs.h"
#include "core/engine/modulus_range.h"
#include "core/engine/number_rules.h"
#include "core/engine/recurrence.h"
#include "core/engine/run_time_error.h"
#include "core/window/field_roles.h"
#include "core/window/input_fields.h"
#include "core/window/listing_text.h"

namespace fibmod {

namespace {

constexpr std::int32_t kLastClearedFlag = kModulusMax;

double ValueOf(FieldAccess& fields, FieldId field) { return ValueOfText(fields.getText(field)); }

// One sequence's share of the run state and of the window.
struct SequenceFields {
    double& prev;
    double& cur;
    double& next;
    std::int32_t& count;
    TermTable& terms;
    double r;
    double s;
    FieldId listing;
    FieldId firstStart;
    FieldId secondStart;
    FieldId length;
};

SequenceFields SequenceTwo(RunState& st)
{
    const SequenceFieldIds& ids = kSequence2Fields;
    return {st.prev2, st.cur2, st.next2, st.count2, st.terms2, st.r2, st.s2,
            ids.listing, ids.first, ids.second, ids.length};
}

SequenceFields SequenceOne(RunState& st)
{
    const SequenceFieldIds& ids = kSequence1Fields;
    return {st.prev1, st.cur1, st.next1, st.count1, st.terms1, st.r1, st.s1,
            ids.listing, ids.first, ids.second, ids.length};
}

// Marks the show of the current reset as under way while it runs, so that a
// "Zeigen" pressed during one of its hand-overs does not start another.
class ShowUnderWay {
public:
    explicit ShowUnderWay(RunState& st)
        : st_(st), wasUnderWay_(st.showUnderWay), previousSerial_(st.showSerial)
    {
        st.showUnderWay = true;
        st.showSerial = st.resetSerial;
    }
    ~ShowUnderWay()
    {
        st_.showUnderWay = wasUnderWay_;
        st_.showSerial = previousSerial_;
    }
    ShowUnderWay(const ShowUnderWay&) = delete;
    ShowUnderWay& operator=(const ShowUnderWay&) = delete;

private:
    RunState& st_;
    bool wasUnderWay_;
    std::uint64_t previousSerial_;
};

// The window's walk through one cycle: it hands over to the event loop before
// every term, stops when a reset superseded the run meanwhile, lists and
// stores every term, and reads the start values afresh after each, so that an
// edit made meanwhile counts.
class ListedCycle {
public:
    ListedCycle(RunState& st, FieldAccess& fields, const SequenceFields& seq, std::uint64_t serial)
        : st_(st), fields_(fields), seq_(seq), serial_(serial)
    {
    }

    bool proceed()
    {
        fields_.pumpEvents();
        return st_.resetSerial == serial_;
    }

    void keep(double term)
    {
        seq_.next = term;
        ++seq_.count;
        seq_.terms.set(seq_.count, term);
        line_.clear();
        AppendTermLine(line_, term);
        fields_.appendText(seq_.listing, line_);
    }

    // Read afresh every time; reduced again only when a text has changed.
    StartPair startPair()
    {
        std::string first = fields_.getText(seq_.firstStart);
        std::string second = fields_.getText(seq_.secondStart);
        if (!read_ || first != firstText_ || second != secondText_) {
            start_ = ReducedStart(ValueOfText(first), ValueOfText(second), st_.M);
            firstText_ = std::move(first);
            secondText_ = std::move(second);
            read_ = true;
        }
        return start_;
    }

private:
    RunState& st_;
    FieldAccess& fields_;
    const SequenceFields& seq_;
    std::uint64_t serial_;
    std::string line_;
    bool read_ = false;
    std::string firstText_;
    std::string secondText_;
    StartPair start_{};
};

// Lists one cycle and writes its length. Returns false when a reset
// superseded the run during a hand-over to the event loop.
bool GenerateCycle(RunState& st, FieldAccess& fields, const SequenceFields& seq, std::uint64_t serial)
{
    ListedCycle walk(st, fields, seq, serial);
    if (!WalkCycle(seq.prev, seq.cur, seq.r, seq.s, st.M, walk)) return false;
    fields.setText(seq.length, IntegerText(seq.count));
    return true;
}

// One line per equal pair of terms, ordered by the position in sequence 2
// and then in sequence 1; each common residue is flagged.
void ListCommonMembers(RunState& st, std::string& out)
{
    for (const CommonMember& member : CommonMembers(st.terms2.first(st.count2), st.terms1.first(st.count1))) {
        AppendMemberLine(out, member);
        st.ResidueFlags.setNearest(member.value, 1);
    }
}

// The summary: every flagged residue 0 … M, counted in CommonCount.
void ListCommonResidues(RunState& st, std::string& out)
{
    AppendSummaryHeading(out);
    for (std::int32_t n = 0; n <= st.M; ++n) {
        if (st.ResidueFlags.at(n) != 1) continue;
        if (st.CommonCount == std::numeric_limits<std::int32_t>::max()) throw Overflow();
        ++st.CommonCount;
        AppendResidueLine(out, n);
    }
}

// The common members and the summary go into their field in one write; lines
// made before an error are still written, as if each had been appended alone.
void ShowCommonMembers(RunState& st, FieldAccess& fields)
{
    std::string out;
    try {
        ListCommonMembers(st, out);
        ListCommonResidues(st, out);
    } catch (...) {
        fields.appendText(kCommonMembersField, out);
        throw;
    }
    fields.appendText(kCommonMembersField, out);
    fields.setText(kCommonCountField, IntegerText(st.CommonCount));
    st.countSerial = st.resetSerial;
}

} // namespace

void ResetAndTakeOver(RunState& st, FieldAccess& fields)
{
    for (;;) {
        ++st.resetSerial;
        fields.setText(kSequence2Fields.listing, "");
        fields.setText(kSequence1Fields.listing, "");
        fields.setText(kCommonMembersField, "");
        const Inputs in = ReadInputs(fields);
        st.prev2 = in.two.first;
        st.cur2 = in.two.second;
        st.prev1 = in.one.first;
        st.cur1 = in.one.second;
        st.s2 = in.two.s;
        st.r2 = in.two.r;
        st.s1 = in.one.s;
        st.r1 = in.one.r;
        st.M = ValueOf(fields, kModulusField);
        if (!(st.M > kModulusMax)) break;

        fields.showMessage(kModulusLimitMessage);
        st.M = kModulusMax;
        // This write recomputes at once through the field's change procedure;
        // the reset then starts over, so that one run for M = 2000 stays.
        fields.setText(kModulusField, NumberText(kModulusMax));
    }
    st.count2 = 0;
    st.count1 = 0;
    st.CommonCount = 0;
    for (std::int32_t n = 0; n <= kLastClearedFlag; ++n) st.ResidueFlags.set(n, 0);
}

void ShowCycles(RunState& st, FieldAccess& fields)
{
    if (!(st.M >= 2)) return;
    if (st.showUnderWay && st.showSerial == st.resetSerial) return;

    const ShowUnderWay underWay(st);
    const std::uint64_t serial = st.resetSerial;
    if (!GenerateCycle(st, fields, SequenceTwo(st), serial)) return;
    if (!GenerateCycle(st, fields, SequenceOne(st), serial)) return;
    ShowCommonMembers(st, fields);
}

bool CountIsCurrent(const RunState& st) { return st.countSerial == st.resetSerial; }

} // namespace fibmod
