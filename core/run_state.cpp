#include "core/run_state.h"

#include <cmath>

#include "core/run_time_error.h"

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

ResidueFlagTable::ResidueFlagTable() : flags_(std::make_unique<std::int32_t[]>(kLast + 1)) {}

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
    const double n = std::nearbyint(value);  // the default rounding: ties to even
    if (!(n >= 0 && n <= kLast)) throw SubscriptOutOfRange();
    flags_[static_cast<std::int32_t>(n)] = flag;
}

} // namespace fibmod
