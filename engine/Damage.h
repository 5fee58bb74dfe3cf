// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The extended checks' damage detectors: what one pass over a file's bytes
// shows that neither the size test nor the letter pairs see. Each has a
// stable code (machine-readable output, tests) and a reason text; each
// threshold is chosen from a principle written next to it.

#include "TextFeatures.h"
#include "TextFile.h"

#include <QLatin1StringView>
#include <QString>
#include <cstdint>
#include <optional>

namespace engine {

enum class TDamageCode {
    Nul,          // a NUL byte, or U+0000 in UTF-16
    Control,      // C0 controls or bytes Windows-1252 leaves undefined
    Replacement,  // U+FFFD at a noticeable rate
    Mojibake,     // UTF-8 read as Windows-1252 and saved again
    OddUtf16,     // UTF-16 with a mark and an odd byte count
    SwappedUtf16, // UTF-16 in the wrong byte order
    Markup,       // RTF, HTML or XML saved as text
    WordList,     // nearly every line a single token
    OneCharacter, // one character makes up most of the text
    Empty,        // empty or only whitespace
};

// "nul", "control", "replacement", "mojibake", "utf16-odd", "utf16-swapped",
// "markup", "word-list", "one-character", "empty".
QLatin1StringView DamageCodeName(TDamageCode code);

struct TDamage {
    TDamageCode code = TDamageCode::Nul;
    int64_t offset = -1; // byte offset of the first damage, -1 when not one place
    QString reason;
};

// The first damage the features show, in the order of TDamageCode, or none.
// `m` and `f` are what TTextFile::Measure gave for the file.
std::optional<TDamage> FindDamage(const TFileMeasure &m, const TTextFeatures &f);

// Whether the one pass's counts allow a word list or a text of one
// character: only then are the lines and the commonest unit counted, in a
// second read (TTextFeatures::nonEmptyLines, mostFrequentCount).
bool NeedsLineCount(const TTextFeatures &f);
// Whether the candidates the one pass found allow mojibake: only then is it
// counted, in a second read (TTextFeatures::mojibakeSequences and the rest).
bool NeedsMojibakeCount(const TTextFeatures &f);

} // namespace engine
