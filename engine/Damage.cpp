// SPDX-License-Identifier: GPL-3.0-or-later
#include "Damage.h"

#include <QStringView>

namespace engine {

QLatin1StringView DamageCodeName(TDamageCode code) {
    switch (code) {
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
// encodings may quote one or two; three are more than a quotation and
// already a loss a reader notices.
constexpr int64_t kMinReplacements = 3;

// Mojibake: "Ã©" for "é". Good text meets such a pair only by a rare
// coincidence (a capital with an accent followed by a symbol), and a text
// about encodings may quote an example or two; three sequences are more
// than that. And it must be most of the non-ASCII characters: in a
// damaged text every one of them is, in good text hardly any.
constexpr int64_t kMinMojibake = 3;
constexpr int64_t kMojibakeShareNum = 1, kMojibakeShareDen = 2; // more than half

// UTF-16 units of the form U+xx00 (xx != 0) are rare letters and symbols
// in good text of the five languages, nearly none; byte-swapped, every
// ASCII character and space is one, at least four in five units of such
// text. Half divides the two with a wide margin on either side.
constexpr int64_t kSwappedShareNum = 1, kSwappedShareDen = 2; // more than half

// A word list: nearly every line a single token. Counted as words at most
// a tenth more than the lines that hold any, which leaves at least 10 of
// 11 such lines with one token. Prose lines with a single word (a heading,
// a name) are a minority; twenty lines in a row at that share cannot
// happen by chance even if a third of the lines were so, (1/3)^18 < 1e-8.
constexpr int64_t kMinListLines = 20;
constexpr int64_t kListWordsNum = 11, kListWordsDen = 10;

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
    return wordList || oneChar;
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

    if (f.replacements >= kMinReplacements)
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
                      QStringLiteral("UTF-16 in the wrong byte order: %1 of %2 characters are "
                                     "U+xx00")
                          .arg(f.swappedUnits)
                          .arg(f.units));

    if (const QLatin1StringView markup = MarkupOf(f); !markup.isEmpty())
        return damage(TDamageCode::Markup, -1, QStringLiteral("Begins as %1").arg(markup));

    if (f.nonEmptyLines >= kMinListLines &&
        f.tokens * kListWordsDen <= f.nonEmptyLines * kListWordsNum)
        return damage(
            TDamageCode::WordList, -1,
            QStringLiteral("Word list: %1 lines hold %2 words").arg(f.nonEmptyLines).arg(f.tokens));

    const int64_t nonWhite = NonWhite(f);
    if (nonWhite >= kMinOneCharUnits && f.mostFrequentCount >= 0 &&
        AtLeast(f.mostFrequentCount, nonWhite, kOneCharShareNum, kOneCharShareDen))
        return damage(TDamageCode::OneCharacter, -1,
                      QStringLiteral("One character makes up %1 of %2 non-blank characters: %3")
                          .arg(f.mostFrequentCount)
                          .arg(nonWhite)
                          .arg(CharName(f.mostFrequent)));

    if (f.units == 0)
        return damage(TDamageCode::Empty, -1, QStringLiteral("Empty"));
    if (f.tokens == 0)
        return damage(TDamageCode::Empty, -1, QStringLiteral("Only whitespace"));
    return std::nullopt;
}

} // namespace engine
