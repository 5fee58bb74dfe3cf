// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the extended checks learn about a text in the one pass that measures
// it and counts its digraphs (TTextFile::Measure): counts and first offsets
// that the damage detectors (Damage.h) judge.

#include <cstdint>

namespace engine {

struct TTextFeatures {
    int64_t firstNul = -1; // byte offset of the first NUL (U+0000 in UTF-16)
    // 8-bit text (no mark): whether every byte is part of well-formed UTF-8,
    // and how many bytes are not ASCII. The extended digraph check reads a
    // valid UTF-8 text that has any as UTF-8.
    bool validUtf8 = true;
    int64_t nonAscii = 0;
};

} // namespace engine
