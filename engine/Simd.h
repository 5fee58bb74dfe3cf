// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the engine's vector blocks are compiled. A build with BRINDLE_NO_SIMD
// leaves them out, so that its tests check the plain loops they stand in for
// against the same references.

#if defined(__SSE2__) && !defined(BRINDLE_NO_SIMD)
#define BRINDLE_SSE2 1
#include <emmintrin.h>
// The few loops that gain from 32-byte vectors have an AVX2 form as well,
// chosen at run time: the build itself targets every x86-64.
#if defined(__x86_64__) && defined(__GNUC__)
#define BRINDLE_AVX2 1
#include <immintrin.h>
#endif
#endif

namespace engine {

// Whether the AVX2 forms are used: when the processor has AVX2, unless a
// test turned them off to hold the SSE2 forms to the same references.
bool UseAvx2();
void SetAvx2ForTesting(bool on);

} // namespace engine
