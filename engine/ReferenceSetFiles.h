// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A named reference set made from files, for both front ends: reference
// texts and saved profiles (ProfileFile.h) in one list, told apart by the
// profile's magic.

#include "ReferenceProfile.h"
#include "ReferenceSets.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace engine {

// The set `name` of `paths`: the texts' digraphs pooled, as one reference
// profile pools its files, and the saved profiles' counts added to them. A
// profile keeps only the digraphs counted `minDigraphs` times or more, so
// one made with another least count is refused. How a profile's texts were
// read (its encoding) is not held against it: the extended check reads
// every file in the encoding its bytes are valid in, so a set only has to
// hold the letters of its language. The error names the file at fault.
std::optional<TReferenceError> LoadReferenceSet(const QString &name, const QStringList &paths,
                                                TDefaultEncoding encoding, int32_t minDigraphs,
                                                TReferenceSet &set);

// Adds the counts of the saved profile at `path` to `sum` (see above); with
// `cut`, sets it to the cut stored with the profile (empty when none).
std::optional<TReferenceError> AddProfileFile(const QString &path, int32_t minDigraphs,
                                              TDigraphProfile &sum,
                                              TScoreCut::TPoints *cut = nullptr);

// The counts of two profiles added, key by key.
TDigraphProfile AddProfiles(const TDigraphProfile &a, const TDigraphProfile &b);

} // namespace engine
