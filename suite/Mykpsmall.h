// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The yield hook and the comparison type of the suite's runtime.
//
// Long loops call MyYieldProcess() very often (once per letter of a text), so
// it must cost no more than a load and a branch while no hook is bound. The
// window binds a throttled event pump; command-line tools leave it unbound.

#include <cstdint>
#include <functional>

namespace suite {

// A parameterless procedure bound to an object: `code` is called with `object`.
struct TYieldProc {
    void (*code)(void *object) = nullptr;
    void *object = nullptr;
    bool set() const { return code != nullptr; }
};

// Bound comparison of two data pointers: negative, zero or positive.
using TCompare2FunctOfObject = std::function<int32_t(void *a, void *b)>;

} // namespace suite

// Process-wide, as in the suite's runtime: the window sets it before each run.
extern suite::TYieldProc AYieldProcessProc;

// True on a thread that works beside the one the hook serves (a run's
// checking threads): it has no events to let through, and must not even read
// the hook, which that thread may rebind meanwhile.
extern thread_local bool gNoYieldsOnThisThread;

inline void MyYieldProcess() {
    if (!gNoYieldsOnThisThread && AYieldProcessProc.code)
        AYieldProcessProc.code(AYieldProcessProc.object);
}
