// SPDX-License-Identifier: GPL-3.0-or-later
#include "Damage.h"

#include <QStringView>
#include <algorithm>
#include <array>

namespace engine {

QLatin1StringView DamageCodeName(TDamageCode code) {
    switch (code) {
    case TDamageCode::Utf16NoMark:
        return QLatin1StringView("utf16-no-bom");
    case TDamageCode::Nul:
        return QLatin1StringView("nul");
    case TDamageCode::Control:
        return QLatin1StringView("control");
    case TDamageCode::Replacement:
        return QLatin1StringView("replacement");
    case TDamageCode::Mojibake:
        return QLatin1StringView("mojibake");
    case TDamageCode::OddUtf16:
        return QLatin1StringView("utf16-odd");
    case TDamageCode::SwappedUtf16:
        return QLatin1StringView("utf16-swapped");
    case TDamageCode::Markup:
        return QLatin1StringView("markup");
    case TDamageCode::WordList:
        return QLatin1StringView("word-list");
    case TDamageCode::OneCharacter:
        return QLatin1StringView("one-character");
    case TDamageCode::Encoded:
        return QLatin1StringView("encoded");
    case TDamageCode::Empty:
        return QLatin1StringView("empty");
    }
    return QLatin1StringView("damage");
}

namespace {

// The thresholds. Each is chosen from what good text of any of the five
// languages (English, German, French, Spanish, Italian) can or cannot do,
// never fitted to single files.

// A NUL, a stray C0 control or a byte Windows-1252 leaves undefined is
// never written by an editor into text: one is damage.

// U+FFFD is a decoder's mark for a character it lost. A text about
// encodings may quote it, a few times in a whole document; a decoder that
// lost characters replaced each one it could not read, and the characters
// it loses (letters with accents, curly quotes, dashes) are at least one in
// a thousand of any text that has them. So a rate, not a count: one in a
// thousand units, and at least three, so that a short text quoting it once
// or twice is never taken for a loss.
constexpr int64_t kMinReplacements = 3;
constexpr int64_t kReplacementRateDen = 1000;

// UTF-16 saved without a mark, read as 8-bit text: every other byte is the
// high byte of a unit, below 0x20 for every script from Latin to the Indic
// ones (U+0000 to U+1FFF), NUL for ASCII. In 8-bit text bytes below 0x20
// are line ends and tabs, a few in a hundred. So three in four of the bytes
// at one parity below 0x20, and at most one in eight at the other, in a
// sample of the file's start long enough to count (16 pairs at least).
constexpr int64_t kMinUtf16Pairs = 16;
constexpr int64_t kHighShareNum = 3, kHighShareDen = 4;
constexpr int64_t kLowShareNum = 1, kLowShareDen = 8;

// Data written as text (base64, a hex dump): nine units in ten of the
// non-blank text in long tokens that mix letters and digits (see
// TTextFeatures::encodedUnits). Prose has hardly any token of sixteen
// characters that mixes digits into letters (a long number or an address
// at most); data written as text is nothing else. A text whose tokens are
// that long on average is counted in the second read.
constexpr int64_t kEncodedShareNum = 9, kEncodedShareDen = 10;

// Mojibake: "Ã©" for "é". Good text meets such a pair only by a rare
// coincidence (a capital with an accent followed by a symbol), and a text
// about encodings may quote an example or two; three sequences are more
// than that. And it must be most of the non-ASCII characters: in a
// damaged text every one of them is, in good text hardly any.
constexpr int64_t kMinMojibake = 3;
constexpr int64_t kMojibakeShareNum = 1, kMojibakeShareDen = 2; // more than half

// UTF-16 units with a low byte below 0x20 and a high one not
// (IsSwappedUnit): in good text of any script from Latin to the Indic ones
// there are none, and in Han or Hangul text about one in eight (low bytes
// fall evenly); byte-swapped, every character of those scripts and every
// space is one, at least four in five units of such text. Half divides the
// two with a wide margin on either side.
constexpr int64_t kSwappedShareNum = 1, kSwappedShareDen = 2; // more than half

// A word list: nearly every line a single token. Counted as words at most
// a tenth more than the lines that hold any, which leaves at least 10 of
// 11 such lines with one token. Prose lines with a single word (a heading,
// a name) are a minority; twenty lines in a row at that share cannot
// happen by chance even if a third of the lines were so, (1/3)^18 < 1e-8.
constexpr int64_t kMinListLines = 20;
constexpr int64_t kListWordsNum = 11, kListWordsDen = 10;
// And its tokens are words: no language's words average 16 letters, while a
// line of Chinese or Japanese prose, written without spaces, is one token
// of dozens.
constexpr int64_t kListWordUnits = 16;

// One character: the commonest non-whitespace character makes up two
// thirds of the rest or more. The commonest letter of the five languages
// ('e') is under a fifth of the letters. Two thirds is also the least
// share the one pass is sure to notice: a character with a share s of the
// N non-blank units forces at least (2s - 1) N - tokens adjacent repeats of
// itself, so repeats + tokens >= N / 3 whenever s >= 2/3. Shorter than a line
// (16 units) is too short to call.
constexpr int64_t kMinOneCharUnits = 16;
constexpr int64_t kOneCharShareNum = 2, kOneCharShareDen = 3;

bool Utf16(const TFileMeasure &m) {
    return m.kind == TTextKind::Utf16LE || m.kind == TTextKind::Utf16BE;
}

// At least num/den of `whole` (at least: >=; more than: the caller adds).
bool AtLeast(int64_t part, int64_t whole, int64_t num, int64_t den) {
    return part * den >= whole * num;
}

bool MoreThan(int64_t part, int64_t whole, int64_t num, int64_t den) {
    return part * den > whole * num;
}

int64_t NonWhite(const TTextFeatures &f) {
    return f.units - f.whitespace;
}

// The reason texts, all of them here.
QString CountFrom(const QString &what, int64_t count, int64_t at) {
    return QStringLiteral("%1: %2, the first at byte %3").arg(what).arg(count).arg(at);
}

QString CharName(char16_t u) {
    const QString hex = QStringLiteral("U+%1").arg(uint(u), 4, 16, QLatin1Char('0')).toUpper();
    if (u < 0x20 || (u >= 0x7F && u < 0xA0) || (u >= 0xD800 && u < 0xE000))
        return hex;
    return QStringLiteral("'%1' (%2)").arg(QChar(u), hex);
}

// The markup a text begins with, if any.
QLatin1StringView MarkupOf(const TTextFeatures &f) {
    const QStringView head(reinterpret_cast<const QChar *>(f.head.data()), f.headLength);
    if (head.startsWith(u"{\\rtf"))
        return QLatin1StringView("RTF");
    if (head.startsWith(u"<!doctype html", Qt::CaseInsensitive) ||
        head.startsWith(u"<html", Qt::CaseInsensitive))
        return QLatin1StringView("HTML");
    if (head.startsWith(u"<?xml", Qt::CaseInsensitive))
        return QLatin1StringView("XML");
    return {};
}

} // namespace

bool NeedsLineCount(const TTextFeatures &f) {
    // A text holds at most one line more than its breaks.
    const bool wordList =
        f.tokens >= kMinListLines && f.tokens * kListWordsDen <= (f.lineBreaks + 1) * kListWordsNum;
    const int64_t nonWhite = NonWhite(f);
    const bool oneChar =
        nonWhite >= kMinOneCharUnits && (f.repeats + f.tokens) * kOneCharShareDen >=
                                            nonWhite * (2 * kOneCharShareNum - kOneCharShareDen);
    const bool longTokens = nonWhite >= TTextFeatures::kEncodedToken &&
                            nonWhite >= TTextFeatures::kEncodedToken * f.tokens;
    return wordList || oneChar || longTokens;
}

void CompleteFeatures(TTextFile &file, const TFileMeasure &m, TTextFeatures &f) {
    // Rare: a text whose shape allows a word list, one character or encoded
    // data, or whose bytes allow mojibake or hold damage, is read again for
    // those counts and where the damage begins.
    file.LookAgain(m, NeedsLineCount(f), f.bytesOnlyBounded || NeedsMojibakeCount(f), f);
}

std::optional<TDamage> JudgeDamage(TTextFile &file, const TFileMeasure &m, TTextFeatures &f) {
    CompleteFeatures(file, m, f);
    if (MayBeUtf16WithoutMark(m, f)) {
        // A few lines tell it.
        std::array<uint8_t, 512> head;
        if (auto found =
                FindUtf16WithoutMark(head.data(), file.ReadStart(head.data(), head.size())))
            return found;
    }
    return FindDamage(m, f);
}

bool MayBeUtf16WithoutMark(const TFileMeasure &m, const TTextFeatures &f) {
    return m.kind == TTextKind::Ansi && m.markLength == 0 && (f.firstNul >= 0 || f.controls > 0);
}

std::optional<TDamage> FindUtf16WithoutMark(const uint8_t *head, size_t n) {
    n &= ~size_t(1);
    if (int64_t(n / 2) < kMinUtf16Pairs)
        return std::nullopt;
    int64_t low[2] = {0, 0};
    for (size_t i = 0; i < n; ++i)
        low[i & 1] += head[i] < 0x20;
    const int64_t pairs = int64_t(n / 2);
    for (int high = 0; high < 2; ++high)
        if (AtLeast(low[high], pairs, kHighShareNum, kHighShareDen) &&
            !MoreThan(low[1 - high], pairs, kLowShareNum, kLowShareDen))
            return TDamage{
                TDamageCode::Utf16NoMark, -1,
                QStringLiteral("UTF-16 %1 without a byte-order mark: %2 of the first "
                               "%3 bytes at %4 offsets are below 0x20")
                    .arg(high == 1 ? QStringLiteral("little-endian") : QStringLiteral("big-endian"))
                    .arg(low[high])
                    .arg(pairs)
                    .arg(high == 1 ? QStringLiteral("odd") : QStringLiteral("even"))};
    return std::nullopt;
}

bool NeedsMojibakeCount(const TTextFeatures &f) {
    // Every sequence starts at a candidate and holds at most four
    // characters; a non-ASCII character is at most four bytes. So mojibake
    // can make more than half of the non-ASCII characters only when
    // 2 * 4 * candidates > nonAscii / 4.
    return f.mojibakeCandidates >= kMinMojibake && 32 * f.mojibakeCandidates > f.nonAscii;
}

std::optional<TDamage> FindDamage(const TFileMeasure &m, const TTextFeatures &f) {
    const bool utf16 = Utf16(m);
    const auto damage = [](TDamageCode code, int64_t offset, QString reason) {
        return std::optional<TDamage>(TDamage{code, offset, std::move(reason)});
    };

    if (f.firstNul >= 0)
        return damage(TDamageCode::Nul, f.firstNul,
                      QStringLiteral("%1 at byte %2")
                          .arg(utf16 ? QStringLiteral("U+0000") : QStringLiteral("NUL"))
                          .arg(f.firstNul));

    if (!utf16) {
        // In well-formed UTF-8 those five bytes are continuation bytes.
        const int64_t undefined = f.validUtf8 ? 0 : f.undefinedBytes;
        if (f.controls > 0 || undefined > 0) {
            QString reason;
            int64_t at = -1;
            if (f.controls > 0) {
                reason =
                    CountFrom(QStringLiteral("Control characters"), f.controls, f.firstControl);
                at = f.firstControl;
            }
            if (undefined > 0) {
                if (!reason.isEmpty())
                    reason += QStringLiteral("; ");
                reason += CountFrom(QStringLiteral("Bytes Windows-1252 leaves undefined"),
                                    undefined, f.firstUndefined);
                if (at < 0 || f.firstUndefined < at)
                    at = f.firstUndefined;
            }
            return damage(TDamageCode::Control, at, reason);
        }
    }

    if (f.replacements >= kMinReplacements &&
        AtLeast(f.replacements, std::max<int64_t>(f.units, 1), 1, kReplacementRateDen))
        return damage(TDamageCode::Replacement, f.firstReplacement,
                      CountFrom(QStringLiteral("U+FFFD replacement characters"), f.replacements,
                                f.firstReplacement));

    if (!utf16 && f.mojibakeSequences >= kMinMojibake &&
        MoreThan(f.mojibakeChars, f.nonAsciiChars, kMojibakeShareNum, kMojibakeShareDen))
        return damage(TDamageCode::Mojibake, f.firstMojibake,
                      QStringLiteral("Mojibake (UTF-8 read as Windows-1252): %1 of %2 non-ASCII "
                                     "characters, from byte %3")
                          .arg(f.mojibakeChars)
                          .arg(f.nonAsciiChars)
                          .arg(f.firstMojibake));

    if (utf16 && f.oddUtf16)
        return damage(TDamageCode::OddUtf16, m.size - 1,
                      QStringLiteral("UTF-16 with an odd number of bytes: %1, the last at byte %2 "
                                     "is half a character")
                          .arg(m.size)
                          .arg(m.size - 1));

    if (utf16 && f.units > 0 &&
        MoreThan(f.swappedUnits, f.units, kSwappedShareNum, kSwappedShareDen))
        return damage(TDamageCode::SwappedUtf16, -1,
                      QStringLiteral("UTF-16 in the wrong byte order: %1 of %2 characters "
                                     "have the byte order of another script's (U+xx00 for "
                                     "ASCII)")
                          .arg(f.swappedUnits)
                          .arg(f.units));

    if (const QLatin1StringView markup = MarkupOf(f); !markup.isEmpty())
        return damage(TDamageCode::Markup, -1, QStringLiteral("Begins as %1").arg(markup));

    const int64_t nonWhite = NonWhite(f);
    if (nonWhite >= kMinOneCharUnits && f.mostFrequentCount >= 0 &&
        AtLeast(f.mostFrequentCount, nonWhite, kOneCharShareNum, kOneCharShareDen))
        return damage(TDamageCode::OneCharacter, -1,
                      QStringLiteral("One character makes up %1 of %2 non-blank characters: %3")
                          .arg(f.mostFrequentCount)
                          .arg(nonWhite)
                          .arg(CharName(f.mostFrequent)));

    if (f.encodedUnits >= 0 && nonWhite >= TTextFeatures::kEncodedToken &&
        AtLeast(f.encodedUnits, nonWhite, kEncodedShareNum, kEncodedShareDen))
        return damage(TDamageCode::Encoded, -1,
                      QStringLiteral("Encoded data (base64, hex or the like): %1 of %2 non-blank "
                                     "characters in long runs of letters and digits")
                          .arg(f.encodedUnits)
                          .arg(nonWhite));

    if (f.nonEmptyLines >= kMinListLines &&
        f.tokens * kListWordsDen <= f.nonEmptyLines * kListWordsNum &&
        nonWhite <= kListWordUnits * f.tokens)
        return damage(
            TDamageCode::WordList, -1,
            QStringLiteral("Word list: %1 lines hold %2 words").arg(f.nonEmptyLines).arg(f.tokens));

    if (f.units == 0)
        return damage(TDamageCode::Empty, -1, QStringLiteral("Empty"));
    if (f.tokens == 0)
        return damage(TDamageCode::Empty, -1, QStringLiteral("Only whitespace"));
    return std::nullopt;
}

} // namespace engine
