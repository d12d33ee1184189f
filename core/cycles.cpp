#include "core/cycles.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>

#include "core/number_rules.h"
#include "core/run_time_error.h"

namespace fibmod {

namespace {

constexpr double kModulusLimit = 2000;
constexpr std::int32_t kLastClearedFlag = 2000;

double ValueOf(FieldAccess& fields, FieldId field) { return ValueOfText(fields.getText(field)); }

// One sequence's share of the run state and of the window.
struct Sequence {
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

Sequence SequenceTwo(RunState& st)
{
    return {st.prev2, st.cur2, st.next2, st.count2, st.terms2, st.r2, st.s2,
            Text1(0), Text1(2), Text1(3), Text3(1)};
}

Sequence SequenceOne(RunState& st)
{
    return {st.prev1, st.cur1, st.next1, st.count1, st.terms1, st.r1, st.s1,
            Text1(1), Text1(4), Text1(5), Text3(0)};
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

// Runs the recurrence until the pair of consecutive terms is back at the
// start pair, listing every term. Returns false when a reset superseded the
// run during a hand-over to the event loop.
bool GenerateCycle(RunState& st, FieldAccess& fields, const Sequence& seq, std::uint64_t serial)
{
    std::string line;
    for (;;) {
        fields.pumpEvents();
        if (st.resetSerial != serial) return false;

        seq.next = ReduceMod(Finite(Finite(seq.cur * seq.r) + Finite(seq.prev * seq.s)), st.M);
        ++seq.count;
        seq.terms.set(seq.count, seq.next);
        line = NumberText(seq.next);
        line.append(kLineEnd);
        fields.appendText(seq.listing, line);
        seq.prev = seq.cur;
        seq.cur = seq.next;

        // The start values are read afresh, so an edit made meanwhile counts.
        const double first = ReduceMod(ValueOf(fields, seq.firstStart), st.M);
        const double second = ReduceMod(ValueOf(fields, seq.secondStart), st.M);
        if (ReduceMod(seq.prev, st.M) == first && seq.cur == second) break;
    }
    fields.setText(seq.length, IntegerText(seq.count));
    return true;
}

// Appends one line per equal pair of terms, ordered by the position in
// sequence 2 and then in sequence 1, and flags each common residue.
void ListCommonMembers(RunState& st, std::string& out)
{
    const std::int32_t count1 = std::min(st.count1, TermTable::kLast);
    std::array<std::int16_t, TermTable::kLast> byValue{};
    for (std::int32_t j = 1; j <= count1; ++j) byValue[static_cast<std::size_t>(j - 1)] = static_cast<std::int16_t>(j);
    const auto first = byValue.begin();
    const auto last = first + count1;
    const auto before = [&st](std::int16_t a, std::int16_t b) {
        const double va = st.terms1.at(a);
        const double vb = st.terms1.at(b);
        return va < vb || (va == vb && a < b);
    };
    std::sort(first, last, before);

    for (st.i = 1; st.i <= st.count2; ++st.i) {
        const double value = st.terms2.at(st.i);
        auto match = std::lower_bound(first, last, value,
                                      [&st](std::int16_t j, double v) { return st.terms1.at(j) < v; });
        for (; match != last && st.terms1.at(*match) == value; ++match) {
            st.j = *match;
            out.append(NumberText(value)).append(" bei ").append(NumberText(st.j)).append(NumberText(st.i));
            out.append(kLineEnd);
            st.ResidueFlags.setNearest(value, 1);
        }
    }
}

// The summary: every flagged residue 0 … M, counted in CommonCount.
void ListCommonResidues(RunState& st, std::string& out)
{
    out.append(kLineEnd).append(kLineEnd);
    out.append("Zusammenfassung:").append(kLineEnd);
    out.append("gemeinsam sind").append(kLineEnd);
    out.append("die Reste").append(kLineEnd);
    out.append(kLineEnd);
    for (st.i = 0; st.i <= st.M; ++st.i) {
        if (st.ResidueFlags.at(st.i) != 1) continue;
        if (st.CommonCount == std::numeric_limits<std::int32_t>::max()) throw Overflow();
        ++st.CommonCount;
        out.append(NumberText(st.i)).append(kLineEnd);
    }
}

// The common members and the summary go into Text1(6) in one write; lines
// made before an error are still written, as if each had been appended alone.
void ShowCommonMembers(RunState& st, FieldAccess& fields)
{
    std::string out;
    try {
        ListCommonMembers(st, out);
        ListCommonResidues(st, out);
    } catch (...) {
        fields.appendText(Text1(6), out);
        throw;
    }
    fields.appendText(Text1(6), out);
    fields.setText(Text3(2), IntegerText(st.CommonCount));
    st.countSerial = st.resetSerial;
}

} // namespace

void ResetAndTakeOver(RunState& st, FieldAccess& fields)
{
    for (;;) {
        ++st.resetSerial;
        fields.setText(Text1(0), "");
        fields.setText(Text1(1), "");
        fields.setText(Text1(6), "");
        st.prev2 = ValueOf(fields, Text1(2));
        st.cur2 = ValueOf(fields, Text1(3));
        st.prev1 = ValueOf(fields, Text1(4));
        st.cur1 = ValueOf(fields, Text1(5));
        st.s2 = ValueOf(fields, Text4(2));
        st.r2 = ValueOf(fields, Text4(3));
        st.s1 = ValueOf(fields, Text4(0));
        st.r1 = ValueOf(fields, Text4(1));
        st.M = ValueOf(fields, Text2);
        if (!(st.M > kModulusLimit)) break;

        fields.showMessage(kModulusLimitMessage);
        st.M = kModulusLimit;
        // This write recomputes at once through the field's change procedure;
        // the reset then starts over, so that one run for M = 2000 stays.
        fields.setText(Text2, NumberText(kModulusLimit));
    }
    st.count2 = 0;
    st.count1 = 0;
    st.CommonCount = 0;
    for (st.i = 0; st.i <= kLastClearedFlag; ++st.i) st.ResidueFlags.set(st.i, 0);
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
