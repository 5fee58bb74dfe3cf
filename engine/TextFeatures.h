// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the extended checks learn about a text in the one pass that measures
// it and counts its digraphs (TTextFile::Measure): counts and first offsets
// that the damage detectors (Damage.h) judge.

#include <cstdint>

namespace engine {

struct TTextFeatures {
    int64_t firstNul = -1; // byte offset of the first NUL (U+0000 in UTF-16)
};

} // namespace engine
