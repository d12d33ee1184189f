// SPDX-License-Identifier: MIT
// A thread-local guard whose destructor releases FLINT's caches of its thread.
#include "core/engine/period/flint_thread.h"

#include <flint/flint.h>

namespace fibmod {

namespace {

struct FlintCachesGuard {
    ~FlintCachesGuard() { flint_cleanup(); }
};

} // namespace

void ReleaseFlintCachesAtThreadExit()
{
    thread_local FlintCachesGuard guard;
    (void)guard;
}

} // namespace fibmod
