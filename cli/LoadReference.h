// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reference brindle-scan checks against: a saved profile (--profile)
// and/or reference texts (-r), made into one profile; saved with
// --save-profile when asked. In an extended run it is the set "reference".

#include "DigraphProfile.h"
#include "ReferenceProfile.h"
#include "ScanOptions.h"

#include <QString>
#include <optional>

namespace cli {

using engine::TReferenceError;

// How reference texts are read: as the scan reads its files' letter pairs.
// The extended check reads an 8-bit file that is well-formed UTF-8 as UTF-8
// for them, so its references are read automatically where the scan's
// files are read as Windows-1252.
engine::TDefaultEncoding ReferenceEncoding(const TScanOptions &options);

// Loads the reference the options name into `reference` (left empty when
// they name none). The error names the file at fault and why.
std::optional<TReferenceError> LoadReference(const TScanOptions &options, int32_t minDigraphs,
                                             engine::TDigraphProfile &reference);

} // namespace cli
