// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The letter pairs behind a digraph verdict, with both frequencies, for the
// machine-readable output and the window's chart.

#include "DigraphProfile.h"
#include "FileCheck.h"

#include <cstddef>
#include <vector>

namespace engine {

// The pairs the comparison of `sample` with `ref` fails at this tolerance
// (the same pairs as its failure texts), each with its relative frequency in
// the file and in the reference, most deviating first, at most `most` of
// each kind. Unlike the failure texts, the kind always says how the file
// differs: too many when the file has the pair more often than the reference.
void FailingPairs(const TDigraphProfile &sample, const TDigraphProfile &ref,
                  int32_t freqVariationPerMille, size_t most, std::vector<TPairDeviation> &tooMany,
                  std::vector<TPairDeviation> &tooFew);

} // namespace engine
