// SPDX-License-Identifier: MIT
// Shoup's modular multiply in 32-bit vector lanes, for every Highway target.

// Included once per target (foreach_target.h): the guard toggles.
#if defined(FIBMOD_LANES_SHOUP_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef FIBMOD_LANES_SHOUP_INL_H_
#undef FIBMOD_LANES_SHOUP_INL_H_
#else
#define FIBMOD_LANES_SHOUP_INL_H_
#endif

#include <cstdint>

#include <hwy/highway.h>

HWY_BEFORE_NAMESPACE();
namespace fibmod::lanes::HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

// The high halves of the 64-bit products x·y, lane by lane.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V MulHigh32(D d, V x, V y)
{
#if HWY_TARGET == HWY_SCALAR
    // One lane: no wider lanes to form the product in.
    return hn::Set(d, static_cast<std::uint32_t>((std::uint64_t{hn::GetLane(x)} * hn::GetLane(y)) >> 32));
#elif HWY_TARGET == HWY_WASM
    // Highway's MulEven there multiplies 64-bit lanes, which browsers emulate
    // on x86-64; WebAssembly's widening 32-bit multiplies are one
    // instruction each. The high halves are the odd 32-bit lanes of both.
    (void)d;
    const v128_t low = wasm_u64x2_extmul_low_u32x4(x.raw, y.raw);
    const v128_t high = wasm_u64x2_extmul_high_u32x4(x.raw, y.raw);
    return V{wasm_i32x4_shuffle(low, high, 1, 3, 5, 7)};
#else
    const hn::RepartitionToWide<D> wide;
    const auto even = hn::MulEven(x, y);
    const auto odd = hn::MulEven(hn::BitCast(d, hn::ShiftRight<32>(hn::BitCast(wide, x))),
                                 hn::BitCast(d, hn::ShiftRight<32>(hn::BitCast(wide, y))));
    // The odd products' high halves already sit in the odd lanes.
    return hn::OddEven(hn::BitCast(d, odd), hn::BitCast(d, hn::ShiftRight<32>(even)));
#endif
}

// x·w mod M in every lane, as MulModShoup: wq = ShoupQuotient(w, M), every
// lane of x below 2^32, w below M, 2 <= M < 2^31.
template <class D, class V = hn::VFromD<D>>
HWY_INLINE V MulModShoup(D d, V x, V w, V wq, V M)
{
    const V q = MulHigh32(d, x, wq);
    const V rest = hn::Sub(hn::Mul(x, w), hn::Mul(q, M));
    // rest < 2M: when it is below M, rest − M wraps round above it.
    return hn::Min(rest, hn::Sub(rest, M));
}

// (x − y) mod M for x, y below M.
template <class V>
HWY_INLINE V SubMod(V x, V y, V M)
{
    const V difference = hn::Sub(x, y);
    return hn::Min(difference, hn::Add(difference, M));
}

} // namespace fibmod::lanes::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#endif
