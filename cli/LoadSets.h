// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reference sets of an extended run (--extended): "reference" from -r
// and --profile, then each --set NAME in the order first given (its PATHs
// pooled into one set), then the --language sets; a language whose code is
// also a --set NAME adds its profile to that set.

#include "LoadReference.h"
#include "ReferenceSets.h"
#include "ScanOptions.h"

#include <optional>

namespace cli {

// Appends the sets the options name to `sets`. `reference`: the profile
// LoadReference made from -r or --profile, or null. The error names the
// file (or the language folder) at fault and why.
std::optional<TReferenceError> LoadSets(const TScanOptions &options, int32_t minDigraphs,
                                        const engine::TDigraphProfile *reference,
                                        engine::TReferenceSets &sets);

} // namespace cli
