// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The kinds of damage the extended checks name, with their stable codes
// (machine-readable output, tests). Kept apart from the detectors so that a
// verdict can carry one without knowing how it was found.

#include <QLatin1StringView>

namespace engine {

// In the order the detectors try them: the first that applies names a file.
enum class TDamageCode {
    Utf16NoMark,  // UTF-16 saved without a byte-order mark
    Nul,          // a NUL byte, or U+0000 in UTF-16
    Control,      // C0 controls or bytes Windows-1252 leaves undefined
    Replacement,  // U+FFFD at a rate no good text reaches
    Mojibake,     // UTF-8 read as Windows-1252 and saved again
    OddUtf16,     // UTF-16 with a mark and an odd byte count
    SwappedUtf16, // UTF-16 in the wrong byte order
    Markup,       // RTF, HTML or XML saved as text
    OneCharacter, // one character makes up most of the text
    Encoded,      // base64, a hex dump: data written as text
    WordList,     // nearly every line a single token
    Empty,        // empty or only whitespace
};

// "utf16-no-bom", "nul", "control", "replacement", "mojibake", "utf16-odd",
// "utf16-swapped", "markup", "one-character", "encoded", "word-list",
// "empty".
QLatin1StringView DamageCodeName(TDamageCode code);

} // namespace engine
