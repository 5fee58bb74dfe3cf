// SPDX-License-Identifier: GPL-3.0-or-later
// The fast digraph counters against the plain ordered count, with the text
// fed in small blocks of sizes the input chooses, so every seam between
// blocks is met: both must give the same digraphs and the same counts.
// The counters are made once and reused from input to input, as a checker
// reuses them from file to file: their tables are large, and a flush or
// reset must leave nothing of one text behind for the next.

#include "DigraphCounter.h"
#include "FuzzSupport.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

void SameCounts(const engine::TPairCounts &fast, const engine::TPairCounts &plain) {
    FUZZ_CHECK(fast.Total() == plain.Total());
    FUZZ_CHECK(fast.Distinct() == plain.Distinct());
    for (uint32_t key : plain.Order())
        FUZZ_CHECK(fast.CountOf(key) == plain.CountOf(key));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1)
        return 0;
    // The first byte chooses the block size, 1 to 16.
    const size_t block = size_t(data[0] % 16) + 1;
    const uint8_t *text = data + 1;
    const size_t n = size - 1;

    static engine::TByteDigraphCounter byteCounter;
    static engine::TWideDigraphCounter wideCounter;

    // 8-bit text.
    {
        engine::TPairCounts plain;
        char16_t prev = 0;
        plain.AddBytes(text, n, prev);
        for (size_t at = 0; at < n; at += block)
            byteCounter.Feed(text + at, std::min(block, n - at));
        engine::TPairCounts fast;
        byteCounter.FlushInto(fast);
        SameCounts(fast, plain);
    }
    // The same bytes as UTF-16 units.
    {
        std::vector<char16_t> units(n / 2);
        for (size_t i = 0; i < units.size(); ++i)
            units[i] = char16_t(text[2 * i] | (text[2 * i + 1] << 8));
        engine::TPairCounts plain;
        char16_t prev = 0;
        plain.AddUnits(units.data(), units.size(), prev);
        for (size_t at = 0; at < units.size(); at += block)
            wideCounter.Feed(units.data() + at, std::min(block, units.size() - at));
        if (!wideCounter.Overflowed()) {
            engine::TPairCounts fast;
            wideCounter.FlushInto(fast);
            SameCounts(fast, plain);
        } else {
            wideCounter.Reset();
        }
    }
    return 0;
}
