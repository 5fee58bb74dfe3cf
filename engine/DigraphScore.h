// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How far a text's letter pairs stray from a reference set's: the
// Jensen-Shannon divergence of the two distributions, in bits, so 0 for the
// same distribution and 1 for pairs that never meet.
//
// The text's distribution is all its pairs (a profile made with a least
// count of 1): a short text's rare pairs are most of what it says. The set's
// is its profile as kept (pairs counted at least `min_digraphs` times, as a
// saved profile holds it), with the occurrences it left out as one more
// outcome, "rest". A text's pairs that the set does not keep fall into that
// same "rest": the set cannot tell them apart, and a set read from texts
// scores exactly as the same set read from its saved profile.

#include "DigraphProfile.h"

#include <cstdint>

namespace engine {

// A key that is never a digraph (U+FFFF is no letter): a drawn text's
// "rest" outcome, which the score puts with the set's rest.
inline constexpr uint32_t kRestKey = 0xFFFFFFFFu;

// The sum of a profile's kept counts; the rest of its total is "rest".
int64_t KeptCount(const TDigraphProfile &profile);

// The divergence, 0..1, of `text` (ascending keys, its total in `digraphs`)
// from `set` (whose kept counts add up to `setKept`). One walk over both key
// lists; logarithms only for the text's pairs. A text or set without a
// single digraph scores 1: nothing of it can be compared.
double DigraphScore(const TDigraphProfile &text, const TDigraphProfile &set, int64_t setKept);

} // namespace engine
