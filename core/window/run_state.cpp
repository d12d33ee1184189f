// SPDX-License-Identifier: MIT
// The window's term tables and residue flags, with the range checks of error 9.
#include "core/window/run_state.h"

#include <new>

#include "core/engine/recurrence.h"
#include "core/engine/run_time_error.h"

namespace fibmod {

double TermTable::at(int n) const
{
    if (n < 0 || n > kLast) throw SubscriptOutOfRange();
    return slots_[n];
}

void TermTable::set(int n, double value)
{
    if (n < 0 || n > kLast) throw SubscriptOutOfRange();
    slots_[n] = value;
}

std::span<const double> TermTable::first(int count) const
{
    if (count < 0 || count > kLast) throw SubscriptOutOfRange();
    return {slots_ + 1, static_cast<std::size_t>(count)};
}

// calloc hands a table this large over as fresh zero pages from the system,
// without writing them.
ResidueFlagTable::ResidueFlagTable()
    : flags_(static_cast<std::int32_t*>(std::calloc(static_cast<std::size_t>(kLast) + 1, sizeof(std::int32_t))))
{
    if (!flags_) throw std::bad_alloc();
}

std::int32_t ResidueFlagTable::at(std::int32_t n) const
{
    if (n < 0 || n > kLast) throw SubscriptOutOfRange();
    return flags_[n];
}

void ResidueFlagTable::set(std::int32_t n, std::int32_t value)
{
    if (n < 0 || n > kLast) throw SubscriptOutOfRange();
    flags_[n] = value;
}

void ResidueFlagTable::setNearest(double value, std::int32_t flag)
{
    set(FlaggedResidue(value), flag);
}

} // namespace fibmod
