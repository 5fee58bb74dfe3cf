// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A reference profile saved to a file, so that a scan can use it instead of
// reading the reference texts again (every shard of a cluster run, say).
//
// The format (docs/profile-format.md) is small, versioned and checksummed:
// a profile read back is the very profile that was saved, or an error says
// why not (not a profile, another version, truncated, corrupt). Loading
// never trusts the file: sizes, order and counts are checked before use.
//
// A profile depends on how the references were read (the default encoding)
// and on the least count a digraph needs to be kept; both are saved with
// it, so a scan can refuse a profile that would not give the verdicts of
// the texts themselves.

#include "DigraphProfile.h"
#include "TextFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace engine {

// Version 1 holds the profile; version 2 adds the set's calibrated cut, so
// that a set loaded from it needs no calibration. Both are read; a profile
// without a cut is written as version 1.
inline constexpr uint32_t kProfileFormatVersion = 2;
// The most digraphs a profile may keep. An alphabet of a hundred letters
// gives ten thousand pairs; a script of thousands of signs gives more, but
// a set of this many is far more than a comparison needs, and a file
// claiming more is refused before any of it is used (a set's start-up work
// grows with it).
inline constexpr uint32_t kMaxProfileEntries = 65536;
// The most points a stored cut may have (a calibration makes nine).
inline constexpr uint32_t kMaxCutPoints = 64;
// Which calibration a stored cut came from (ReferenceSets.cpp): raised with
// any change to how a cut is calibrated, so that a cut stored by an older
// build is left unused (and the set calibrated at run time) rather than
// giving other verdicts than its profile would.
inline constexpr uint32_t kCutCalibration = 1;

struct TSavedProfile {
    TDigraphProfile profile;
    TDefaultEncoding encoding = TDefaultEncoding::Windows1252; // of the references
    int32_t min_digraphs = 10;
    // The cut calibrated from `profile` (TScoreCut's points: digraphs, cut),
    // or empty when not stored or stored by another calibration.
    std::vector<std::pair<int64_t, double>> cut = {};
};

struct TProfileRead {
    std::optional<TSavedProfile> saved;
    QString error; // when saved is empty: the cause, without the file's name
};

// The file's bytes for `saved`.
QByteArray EncodeProfile(const TSavedProfile &saved);
// The profile in `bytes`, or why there is none.
TProfileRead DecodeProfile(QByteArrayView bytes);

// Reads a profile file (a regular file only; a FIFO never blocks).
TProfileRead ReadProfileFile(const QString &path);
// Whether `path` is a regular file that begins as a saved profile does (its
// magic), so that a list of references can hold texts and profiles alike.
// False when it cannot be opened: reading it as a text then says why.
bool HasProfileMagic(const QString &path);
// Writes a profile file atomically. Empty on success, else the cause ("No
// space left on device"); the old file, if any, is then left as it was.
QString SaveProfileFile(const QString &path, const TSavedProfile &saved);

// Empty when `saved` gives the verdicts its references would give in a scan
// reading files as `encoding`, with `minDigraphs`; else why not.
QString ProfileMismatch(const TSavedProfile &saved, TDefaultEncoding encoding, int32_t minDigraphs);

// CRC-32 as in zlib and gzip (reflected polynomial 0xEDB88320).
uint32_t Crc32(QByteArrayView bytes);

} // namespace engine
