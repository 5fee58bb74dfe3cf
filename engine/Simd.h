// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the engine's SSE2 blocks are compiled. A build with BRINDLE_NO_SIMD
// leaves them out, so that its tests check the plain loops they stand in for
// against the same references.

#if defined(__SSE2__) && !defined(BRINDLE_NO_SIMD)
#define BRINDLE_SSE2 1
#include <emmintrin.h>
#endif
