// SPDX-License-Identifier: GPL-3.0-or-later
#include "Simd.h"

#include <atomic>

namespace engine {

namespace {

bool ProcessorHasAvx2() {
#ifdef BRINDLE_AVX2
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

std::atomic<bool> gAvx2Allowed{true};

} // namespace

bool UseAvx2() {
    static const bool has = ProcessorHasAvx2();
    return has && gAvx2Allowed.load(std::memory_order_relaxed);
}

void SetAvx2ForTesting(bool on) {
    gAvx2Allowed.store(on, std::memory_order_relaxed);
}

} // namespace engine
