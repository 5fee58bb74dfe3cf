// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The extended checks' damage detectors: what one pass over a file's bytes
// shows that neither the size test nor the letter pairs see. Each has a
// stable code (machine-readable output, tests) and a reason text; each
// threshold is chosen from a principle written next to it.

#include "DamageCode.h"
#include "TextFeatures.h"
#include "TextFile.h"
#include "Verdict.h"

#include <QLatin1StringView>
#include <QString>
#include <cstdint>
#include <optional>

namespace engine {

// The first damage the features show, in the order of TDamageCode, or none.
// `m` and `f` are what TTextFile::Measure gave for the file.
std::optional<TDamage> FindDamage(const TFileMeasure &m, const TTextFeatures &f);

// Whether the text may be UTF-16 saved without a byte-order mark, read as
// 8-bit text: only then is the start of the file looked at for it.
bool MayBeUtf16WithoutMark(const TFileMeasure &m, const TTextFeatures &f);
// UTF-16 without a mark, and its likely byte order, from the first `n`
// bytes of the file; checked before any other damage, as such a file would
// otherwise be named by its NULs or controls.
std::optional<TDamage> FindUtf16WithoutMark(const uint8_t *head, size_t n);

// Whether the one pass's counts allow a word list, a text of one
// character or encoded data: only then are the lines and the commonest unit counted, in a
// second read (TTextFeatures::nonEmptyLines, mostFrequentCount).
bool NeedsLineCount(const TTextFeatures &f);
// Whether the candidates the one pass found allow mojibake: only then is it
// counted, in a second read (TTextFeatures::mojibakeSequences and the rest).
bool NeedsMojibakeCount(const TTextFeatures &f);

} // namespace engine
