// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reference brindle-scan checks against: a saved profile (--profile)
// and/or reference texts (-r), made into one profile; saved with
// --save-profile when asked.

#include "DigraphProfile.h"
#include "ReferenceProfile.h"
#include "ScanOptions.h"

#include <QString>
#include <optional>

namespace cli {

using engine::TReferenceError;

// Loads the reference the options name into `reference` (left empty when
// they name none). The error names the file at fault and why.
std::optional<TReferenceError> LoadReference(const TScanOptions &options, int32_t minDigraphs,
                                             engine::TDigraphProfile &reference);

} // namespace cli
