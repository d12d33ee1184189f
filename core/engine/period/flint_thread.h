// SPDX-License-Identifier: MIT
// The release of FLINT's per-thread caches when a thread that used FLINT ends.
#pragma once

namespace fibmod {

// Arranges, once per calling thread, that FLINT's caches of this thread are
// released (flint_cleanup) when the thread ends. Every entry point of the
// period engine calls it, so that callers' threads leak nothing.
void ReleaseFlintCachesAtThreadExit();

} // namespace fibmod
