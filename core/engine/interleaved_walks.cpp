// SPDX-License-Identifier: MIT
// Cycle walks of several moduli advanced in turn in one loop.
#include "core/engine/interleaved_walks.h"

#include <array>
#include <bit>
#include <deque>
#include <limits>
#include <list>
#include <numeric>
#include <vector>

#include "core/engine/modulus_row.h"
#include "core/engine/run_time_error.h"
#include "core/engine/whole_cycle.h"

namespace fibmod {

namespace {

// Walks in flight at once.
constexpr int kLanes = 8;
// Above this modulus the residue sets are too large to keep one per walk.
constexpr std::int64_t kLargestModulus = std::int64_t{1} << 24;
// Rounds of the loop between two looks at the stop token.
constexpr int kRoundsPerStopCheck = 1 << 16;
constexpr std::int64_t kNoLimit = std::numeric_limits<std::int64_t>::max();

using Bits = std::vector<std::uint64_t>;

// One modulus: the residue sets of its two walks and how they ended.
struct Job {
    std::int64_t modulus = 0;
    // Index 0 holds sequence 1, index 1 sequence 2.
    std::array<Bits, 2> bits;
    std::array<std::int64_t, 2> length{};
    bool pastBound = false;
    int open = 2;
};

// A walk waiting for a lane.
struct Walk {
    Job* job;
    int sequence; // 0 or 1, as Job's index
    WholeSequence start;
};

// The lanes' state, one array per field, so that the loop over the lanes
// reads like one walk and the compiler can keep it tight.
struct Lanes {
    std::array<std::uint64_t, kLanes> prev{}, cur{}, first{}, second{}, r{}, s{}, M{}, inverse{};
    std::array<std::int64_t, kLanes> count{}, limit{};
    std::array<std::uint64_t*, kLanes> bits{};
    // The modulus each lane walks for, none for a parked lane, and which
    // of its sequences.
    std::array<Job*, kLanes> job{};
    std::array<int, kLanes> sequence{};
};

// Advances every lane until at least one walk ends; returns false when
// `rounds` rounds passed without an end. Works on a copy, which no store
// into the residue sets can alias, so that the lanes stay in registers.
bool Advance(Lanes& shared, int rounds)
{
    Lanes lanes = shared;
    const auto keep = [&shared, &lanes] {
        shared.prev = lanes.prev;
        shared.cur = lanes.cur;
        shared.count = lanes.count;
    };
    for (int round = 0; round < rounds; ++round) {
        bool ended = false;
#pragma GCC unroll 8
        for (int l = 0; l < kLanes; ++l) {
            const std::uint64_t x = lanes.r[l] * lanes.cur[l] + lanes.s[l] * lanes.prev[l];
            const auto quotient = static_cast<std::uint64_t>((static_cast<UInt128>(x) * lanes.inverse[l]) >> 64);
            std::uint64_t next = x - quotient * lanes.M[l];
            next = next >= lanes.M[l] ? next - lanes.M[l] : next;
            lanes.bits[l][next >> 6] |= std::uint64_t{1} << (next & 63);
            const std::uint64_t before = lanes.cur[l];
            lanes.prev[l] = before;
            lanes.cur[l] = next;
            const std::int64_t count = ++lanes.count[l];
            ended |= (next == lanes.second[l]) & (before == lanes.first[l]);
            ended |= count == lanes.limit[l];
        }
        if (ended) {
            keep();
            return true;
        }
    }
    keep();
    return false;
}

class Runner {
public:
    Runner(const Inputs& inputs, TermBound maxTerms, const InterleavedWalks& walks)
        : inputs_(inputs), maxTerms_(maxTerms), walks_(walks)
    {
        for (int l = 0; l < kLanes; ++l) park(l);
    }

    void run(const InterleavedWalks::Source& next, const InterleavedWalks::Sink& done, std::stop_token stop)
    {
        for (;;) {
            if (stop.stop_requested()) return;
            if (!fill(next, done)) return;
            if (active_ == 0) return;
            if (!Advance(lanes_, kRoundsPerStopCheck)) {
                if (stop.stop_requested()) return;
                continue;
            }
            for (int l = 0; l < kLanes; ++l) finishIfEnded(l, done);
        }
    }

private:
    // A lane without a walk steps a pair that never comes back: 1, 1
    // modulo 2 with r = s = 0 runs into 0, 0 for ever.
    void park(int l)
    {
        lanes_.prev[l] = lanes_.first[l] = 1;
        lanes_.cur[l] = lanes_.second[l] = 1;
        lanes_.r[l] = lanes_.s[l] = 0;
        lanes_.M[l] = 2;
        lanes_.inverse[l] = ~std::uint64_t{0} / 2;
        lanes_.count[l] = 0;
        lanes_.limit[l] = kNoLimit;
        lanes_.bits[l] = &scratch_;
        lanes_.job[l] = nullptr;
    }

    void place(int l, const Walk& walk)
    {
        const auto M = static_cast<std::uint64_t>(walk.job->modulus);
        lanes_.prev[l] = lanes_.first[l] = walk.start.first;
        lanes_.cur[l] = lanes_.second[l] = walk.start.second;
        lanes_.r[l] = walk.start.r;
        lanes_.s[l] = walk.start.s;
        lanes_.M[l] = M;
        lanes_.inverse[l] = ~std::uint64_t{0} / M;
        lanes_.count[l] = 0;
        lanes_.limit[l] = maxTerms_.value_or(kNoLimit);
        lanes_.bits[l] = walk.job->bits[static_cast<std::size_t>(walk.sequence)].data();
        lanes_.job[l] = walk.job;
        lanes_.sequence[l] = walk.sequence;
        ++active_;
    }

    Bits freshBits(std::int64_t modulus)
    {
        Bits bits;
        if (!spare_.empty()) {
            bits = std::move(spare_.back());
            spare_.pop_back();
        }
        bits.assign(static_cast<std::size_t>((modulus + 63) / 64), 0);
        return bits;
    }

    // Puts waiting walks, or new moduli's walks, into the free lanes.
    // Returns false when the source is done and nothing is left.
    bool fill(const InterleavedWalks::Source& next, const InterleavedWalks::Sink& done)
    {
        for (int l = 0; l < kLanes; ++l) {
            if (lanes_.job[l] != nullptr) continue;
            while (waiting_.empty()) {
                const bool idle = active_ == 0;
                const std::optional<std::int64_t> modulus = next(idle);
                if (!modulus) return !idle;
                if (!walks_.takes(*modulus)) {
                    done(ScanModulus(inputs_, *modulus, maxTerms_));
                    continue;
                }
                start(*modulus);
            }
            place(l, waiting_.front());
            waiting_.pop_front();
        }
        return true;
    }

    void start(std::int64_t modulus)
    {
        jobs_.emplace_back();
        Job& job = jobs_.back();
        job.modulus = modulus;
        job.bits[0] = freshBits(modulus);
        job.bits[1] = freshBits(modulus);
        // Sequence 2 first, as the window computes it.
        waiting_.push_back({&job, 1, *WholeModulo(inputs_.two, modulus)});
        waiting_.push_back({&job, 0, *WholeModulo(inputs_.one, modulus)});
    }

    void finishIfEnded(int l, const InterleavedWalks::Sink& done)
    {
        if (lanes_.job[l] == nullptr) return;
        const bool closed = lanes_.prev[l] == lanes_.first[l] && lanes_.cur[l] == lanes_.second[l];
        if (!closed && lanes_.count[l] != lanes_.limit[l]) return;
        Job& job = *lanes_.job[l];
        job.length[static_cast<std::size_t>(lanes_.sequence[l])] = lanes_.count[l];
        if (!closed) job.pastBound = true;
        --active_;
        park(l);
        if (--job.open == 0) finish(job, done);
    }

    void finish(Job& job, const InterleavedWalks::Sink& done)
    {
        ScanRow row;
        row.modulus = job.modulus;
        if (job.pastBound) {
            row = ErrorRow(job.modulus, SubscriptOutOfRange());
        } else {
            row.length1 = job.length[0];
            row.length2 = job.length[1];
            const Bits& one = job.bits[0];
            const Bits& two = job.bits[1];
            for (std::size_t w = 0; w < one.size(); ++w) {
                for (std::uint64_t both = one[w] & two[w]; both != 0; both &= both - 1)
                    row.residues.push_back(static_cast<std::int64_t>(w * 64) + std::countr_zero(both));
            }
        }
        spare_.push_back(std::move(job.bits[0]));
        spare_.push_back(std::move(job.bits[1]));
        // Jobs end in any order; the list keeps their addresses stable.
        std::erase_if(jobs_, [&job](const Job& j) { return &j == &job; });
        done(std::move(row));
    }

    const Inputs& inputs_;
    TermBound maxTerms_;
    const InterleavedWalks& walks_;
    Lanes lanes_;
    int active_ = 0;
    std::uint64_t scratch_ = 0;
    std::deque<Walk> waiting_;
    std::list<Job> jobs_;
    std::vector<Bits> spare_;
};

} // namespace

InterleavedWalks::InterleavedWalks(const Inputs& inputs, TermBound maxTerms) : inputs_(inputs), maxTerms_(maxTerms) {}

bool InterleavedWalks::takes(std::int64_t modulus) const
{
    if (modulus > kLargestModulus || !UsesWholeNumbers(inputs_, modulus, maxTerms_)) return false;
    return WalksPlainly(*WholeModulo(inputs_.one, modulus), static_cast<std::uint64_t>(modulus), maxTerms_) &&
           WalksPlainly(*WholeModulo(inputs_.two, modulus), static_cast<std::uint64_t>(modulus), maxTerms_);
}

void InterleavedWalks::run(const Source& next, const Sink& done, std::stop_token stop) const
{
    Runner runner(inputs_, maxTerms_, *this);
    runner.run(next, done, stop);
}

} // namespace fibmod
