// SPDX-License-Identifier: GPL-3.0-or-later
// The features of the one pass held to a plain loop over the whole text,
// on random text cut into uneven blocks; their offsets in real files; and
// the automatic encoding.
#include "Damage.h"
#include "FeatureCounters.h"
#include "Fixtures.h"
#include "TempDir.h"
#include "TextFile.h"
#include "TextTables.h"
#include "Utf8Decoder.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace engine;

namespace {

// ---- The plain rules ----------------------------------------------------

// A well-formed UTF-8 sequence starting at t[i]: its length, or 0 (and in
// `stop` where the attempt failed: the next place to try).
int SequenceAt(const std::vector<uint8_t> &t, size_t i, size_t &stop, uint32_t &cp) {
    const uint8_t b = t[i];
    int length = 0;
    uint8_t lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        cp = b & 0x0F;
        lo = b == 0xE0 ? 0xA0 : 0x80;
        hi = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        cp = b & 0x07;
        lo = b == 0xF0 ? 0x90 : 0x80;
        hi = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        stop = i + 1;
        return 0;
    }
    for (int k = 1; k < length; ++k) {
        const size_t j = i + size_t(k);
        const uint8_t lower = k == 1 ? lo : 0x80, upper = k == 1 ? hi : 0xBF;
        if (j >= t.size() || t[j] < lower || t[j] > upper) {
            stop = j;
            return 0;
        }
        cp = (cp << 6) | (t[j] & 0x3F);
    }
    return length;
}

int Back1252(uint32_t cp) {
    for (int b = 0x80; b < 0x100; ++b)
        if (kCp1252[b] == cp)
            return b;
    return -1;
}

bool White(char16_t u) {
    return u == ' ' || u == '\t' || u == '\n' || u == '\v' || u == '\f' || u == '\r';
}

template <class U> void PlainShape(const std::vector<U> &t, TTextFeatures &f) {
    f.units = int64_t(t.size());
    bool prevWhite = true;
    char16_t prev = 0;
    for (U x : t) {
        const char16_t u = x;
        f.whitespace += White(u);
        f.tokens += !White(u) && prevWhite;
        f.lineBreaks += u == '\r' || u == '\n';
        f.repeats += !White(u) && u == prev;
        prevWhite = White(u);
        prev = u;
    }
    size_t i = 0;
    while (i < t.size() && White(t[i]))
        ++i;
    for (; i < t.size() && f.headLength < TTextFeatures::kHeadUnits; ++i)
        f.head[size_t(f.headLength++)] = t[i];
}

// The byte features of 8-bit or UTF-8 text (no NUL) whose first byte lies
// at `base` in the file.
TTextFeatures PlainBytes(const std::vector<uint8_t> &t, int64_t base, bool readAsUtf8) {
    TTextFeatures f;
    for (size_t i = 0; i < t.size(); ++i) {
        const uint8_t b = t[i];
        const bool stray = b < 0x20 && !(b >= 9 && b <= 13);
        const bool dosEnd = b == 0x1A && i + 1 == t.size();
        if (stray && !dosEnd) {
            ++f.controls;
            if (f.firstControl < 0)
                f.firstControl = base + int64_t(i);
        }
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
            ++f.undefinedBytes;
            if (f.firstUndefined < 0)
                f.firstUndefined = base + int64_t(i);
        }
        f.nonAscii += b >= 0x80;
    }
    // Decode: the well-formed sequences, each with where it lies.
    struct TChar {
        uint32_t cp;
        size_t at;
        int length;
    };
    std::vector<TChar> chars;
    for (size_t i = 0; i < t.size();) {
        if (t[i] < 0x80) {
            ++i;
            continue;
        }
        size_t stop = 0;
        uint32_t cp = 0;
        const int length = SequenceAt(t, i, stop, cp);
        if (length == 0) {
            f.validUtf8 = false;
            i = stop;
            continue;
        }
        chars.push_back({cp, i, length});
        i += size_t(length);
    }
    int64_t ansiSeq = 0, ansiChars = 0, ansiFirst = -1;
    for (const TChar &c : chars) {
        ++ansiSeq;
        ansiChars += c.length;
        if (ansiFirst < 0)
            ansiFirst = base + int64_t(c.at);
        if (c.cp == 0xFFFD) {
            ++f.replacements;
            if (f.firstReplacement < 0)
                f.firstReplacement = base + int64_t(c.at);
        }
    }
    // The UTF-8 reading written back: runs of adjacent characters that have
    // a Windows-1252 byte, each run decoded as UTF-8 in turn.
    int64_t utfSeq = 0, utfChars = 0, utfFirst = -1;
    for (size_t r = 0; r < chars.size();) {
        size_t e = r;
        std::vector<uint8_t> back;
        std::vector<size_t> at;
        while (e < chars.size() && Back1252(chars[e].cp) >= 0 &&
               (e == r || chars[e].at == chars[e - 1].at + size_t(chars[e - 1].length))) {
            back.push_back(uint8_t(Back1252(chars[e].cp)));
            at.push_back(chars[e].at);
            ++e;
        }
        for (size_t i = 0; i < back.size();) {
            size_t stop = 0;
            uint32_t cp = 0;
            const int length = SequenceAt(back, i, stop, cp);
            if (length == 0) {
                i = stop;
                continue;
            }
            ++utfSeq;
            utfChars += length;
            if (utfFirst < 0)
                utfFirst = base + int64_t(at[i]);
            i += size_t(length);
        }
        r = e > r ? e : r + 1;
    }
    // Where a sequence could start in either reading.
    int64_t leadPairs = 0, backPairs = 0;
    for (size_t j = 1; j < t.size(); ++j) {
        leadPairs += t[j - 1] >= 0xC2 && t[j - 1] <= 0xF4 && t[j] >= 0x80 && t[j] <= 0xBF;
        const uint8_t b = t[j];
        backPairs += j >= 2 && t[j - 2] == 0xC3 &&
                     (b == 0xC2 || b == 0xC5 || b == 0xC6 || b == 0xCB || b == 0xE2);
    }
    if (readAsUtf8 || f.validUtf8) {
        f.mojibakeCandidates = backPairs;
        f.mojibakeSequences = utfSeq;
        f.mojibakeChars = utfChars;
        f.nonAsciiChars = int64_t(chars.size());
        f.firstMojibake = utfFirst;
    } else {
        f.mojibakeCandidates = leadPairs;
        f.mojibakeSequences = ansiSeq;
        f.mojibakeChars = ansiChars;
        f.nonAsciiChars = f.nonAscii;
        f.firstMojibake = ansiFirst;
    }
    return f;
}

// The features as the one pass leaves them when no second read counts the
// mojibake.
TTextFeatures WithoutMojibakeCounts(TTextFeatures f) {
    f.mojibakeSequences = 0;
    f.mojibakeChars = 0;
    f.nonAsciiChars = 0;
    f.firstMojibake = -1;
    return f;
}

TTextFeatures AsMeasured(const TTextFeatures &plain) {
    return NeedsMojibakeCount(plain) ? plain : WithoutMojibakeCounts(plain);
}

// The most adjacent repeats of one unit that is not whitespace.
int64_t MostRepeatsOfOneUnit(const std::vector<uint8_t> &t) {
    std::vector<int64_t> count(256, 0);
    for (size_t i = 1; i < t.size(); ++i)
        if (t[i] == t[i - 1] && !White(t[i]))
            ++count[t[i]];
    return *std::max_element(count.begin(), count.end());
}

// What the pass gives 8-bit text `t` read beside a byte counter: its table
// bounds the repeats of one unit and, in text that is not UTF-8, the
// mojibake candidates. The bounds hold, and the mojibake is counted when
// they call for it (a second read is exact).
TTextFeatures AsMeasuredBesideCounter(const std::vector<uint8_t> &t, const TTextFeatures &plain,
                                      const TTextFeatures &got) {
    EXPECT_GE(got.repeats, MostRepeatsOfOneUnit(t));
    EXPECT_GE(got.mojibakeCandidates, plain.mojibakeCandidates);
    TTextFeatures expect = plain;
    expect.repeats = got.repeats;
    expect.mojibakeCandidates = got.mojibakeCandidates;
    return NeedsMojibakeCount(expect) ? expect : WithoutMojibakeCounts(expect);
}

void ExpectSame(const TTextFeatures &a, const TTextFeatures &b) {
#define SAME(x) EXPECT_EQ(a.x, b.x) << #x
    SAME(firstNul);
    SAME(controls);
    SAME(firstControl);
    SAME(undefinedBytes);
    SAME(firstUndefined);
    SAME(validUtf8);
    SAME(nonAscii);
    SAME(replacements);
    SAME(firstReplacement);
    SAME(mojibakeCandidates);
    SAME(mojibakeSequences);
    SAME(mojibakeChars);
    SAME(nonAsciiChars);
    SAME(firstMojibake);
    SAME(oddUtf16);
    SAME(swappedUnits);
    SAME(units);
    SAME(whitespace);
    SAME(tokens);
    SAME(lineBreaks);
    SAME(repeats);
    SAME(headLength);
    SAME(head);
#undef SAME
}

// ---- Random text --------------------------------------------------------

// Text that takes every path: ASCII words, blanks and breaks, controls,
// Windows-1252 letters, UTF-8 letters, mojibake once and twice, U+FFFD,
// stray and cut sequences, runs of one character.
std::vector<uint8_t> RandomText(QRandomGenerator &rng, size_t n) {
    static const std::vector<std::string> pieces = {
        "the ",
        "Haus ",
        "  ",
        "\r\n",
        "\n",
        "\r",
        "\t",
        "x",
        "xxxxxxxxxxxxxxxxxxxxxxxx",
        ".",
        "\x01",
        "\x1A",
        "\x1F",
        "\x7F",
        "\x0B\x0C",
        "\xE9",
        "\xFC",
        "\x81",
        "\x8D",
        "\x9D",
        "\x80",
        "\xC3", // Windows-1252, undefined, odd
        "\xC3\xA9",
        "\xC3\xBC",
        "\xE2\x80\x99",
        "\xF0\x9F\x98\x80", // UTF-8
        "\xC3\x83\xC2\xA9",
        "\xC3\x83\xC6\x92\xC3\x82\xC2\xA9", // mojibake, twice
        "\xEF\xBF\xBD",
        "\xE2\x82\xAC",
        "\xED\xA0\x80",
        "\xF4\x90\x80\x80",
        "\xE0\x80"};
    std::vector<uint8_t> t;
    while (t.size() < n) {
        const std::string &p = pieces[rng.bounded(int(pieces.size()))];
        t.insert(t.end(), p.begin(), p.end());
    }
    return t;
}

// Uneven blocks: 1 to 70 bytes, sometimes one long.
template <class U, class Feed>
void FeedInBlocks(QRandomGenerator &rng, const std::vector<U> &t, Feed feed) {
    for (size_t at = 0; at < t.size();) {
        const size_t k =
            std::min(t.size() - at, size_t(rng.bounded(8) == 0 ? 300 : 1 + rng.bounded(70)));
        feed(t.data() + at, k);
        at += k;
    }
}

} // namespace

TEST(TextFeatures, ByteCountersMatchThePlainLoopOnRandomTextInUnevenBlocks) {
    QRandomGenerator rng(7);
    for (int round = 0; round < 300; ++round) {
        const std::vector<uint8_t> t = RandomText(rng, 1 + rng.bounded(round < 200 ? 80 : 3000));
        const bool asUtf8 = round % 3 == 0;
        const int64_t base = round % 2 ? 3 : 0;
        SCOPED_TRACE(round);
        // Some rounds fold the table's counts early, so its figures are read
        // from the folded totals too.
        struct TFold {
            explicit TFold(bool on) { SetFoldAfterForTesting(on ? 37 : 0); }
            ~TFold() { SetFoldAfterForTesting(0); }
        } fold(round % 5 == 4);
        TTextFeatures full, screened;
        TByteFeatureCounter bytes(base);
        TByteScreen screen(base, asUtf8);
        TShapeCounter<uint8_t> shape;
        // 8-bit text beside a digraph counter: the screen and the shape
        // leave the counts to its table.
        TByteScreen pairScreen(base);
        TShapeCounter<uint8_t> pairShape(0, 0, true);
        TByteDigraphCounter pairs;
        FeedInBlocks(rng, t, [&](const uint8_t *p, size_t k) {
            bytes.Feed(p, k);
            screen.Feed(p, k);
            shape.Feed(p, k);
            pairs.Feed(p, k);
            pairScreen.FeedBesideCounter(p, k, pairs.LastFeedHadHighBytes());
            pairShape.Feed(p, k);
        });
        bytes.Finish(full, asUtf8);
        screen.Finish(screened, asUtf8);
        shape.Finish(full);
        shape.Finish(screened);
        TTextFeatures plain = PlainBytes(t, base, asUtf8);
        PlainShape(t, plain);
        if (!asUtf8) {
            TTextFeatures beside;
            const bool exact = pairScreen.Finish(beside, pairs.Figures());
            pairShape.Finish(beside, pairs.Figures());
            // What the table cannot place, or only bounds, calls for the
            // second read, which takes the exact counts.
            const bool placed =
                plain.controls == 0 &&
                (plain.validUtf8 || (plain.undefinedBytes == 0 && plain.replacements == 0));
            EXPECT_TRUE(exact || placed);
            if (exact)
                TakeExactByteCounts(beside, full);
            ExpectSame(beside, WithoutMojibakeCounts(AsMeasuredBesideCounter(t, plain, beside)));
        }
        // The candidates bound the sequences: the screen never misses
        // mojibake that the detector would call.
        EXPECT_GE(plain.mojibakeCandidates, plain.mojibakeSequences);
        TTextFeatures onlyMojibake = plain;
        onlyMojibake.controls = onlyMojibake.undefinedBytes = onlyMojibake.replacements = 0;
        const std::optional<TDamage> d = FindDamage(TFileMeasure{}, onlyMojibake);
        if (d && d->code == TDamageCode::Mojibake) {
            EXPECT_TRUE(NeedsMojibakeCount(plain));
        }
        TTextFeatures expectFull = plain;
        expectFull.mojibakeCandidates = 0;
        ExpectSame(full, expectFull);
        ExpectSame(screened, WithoutMojibakeCounts(plain));
    }
}

TEST(TextFeatures, UnitCountersMatchThePlainLoopOnRandomUnitsInUnevenBlocks) {
    QRandomGenerator rng(11);
    const char16_t alphabet[] = {u'a',    u'b',    u' ',    u'\t',   u'\r',  u'\n',
                                 u'\x0B', u'\x0C', u'\x01', u'\xE9', 0xFFFD, 0x4100,
                                 0x2000,  0x0100,  u'x',    u'x',    0xD83D, 0xDE00};
    for (int round = 0; round < 300; ++round) {
        std::vector<char16_t> t(1 + rng.bounded(round < 200 ? 80 : 3000));
        for (char16_t &u : t)
            u = alphabet[rng.bounded(int(std::size(alphabet)))];
        SCOPED_TRACE(round);
        TTextFeatures fast, fromPairs, decoded, decodedFromPairs;
        // UTF-16, and decoded UTF-8 (no U+FFFD or swapped units of its own),
        // each also read mostly from the digraph counter's table.
        TShapeCounter<char16_t> shape(2, 2), pairShape(2, 2, true);
        TShapeCounter<char16_t> shape8, pairShape8(0, 0, true);
        TWideDigraphCounter pairs;
        FeedInBlocks(rng, t, [&](const char16_t *p, size_t k) {
            shape.Feed(p, k);
            pairShape.Feed(p, k);
            shape8.Feed(p, k);
            pairShape8.Feed(p, k);
            pairs.Feed(p, k);
        });
        shape.Finish(fast);
        pairShape.Finish(fromPairs, pairs.WhitePairs());
        ExpectSame(fromPairs, fast);
        shape8.Finish(decoded);
        pairShape8.Finish(decodedFromPairs, pairs.WhitePairs());
        ExpectSame(decodedFromPairs, decoded);
        TTextFeatures plain;
        PlainShape(t, plain);
        for (size_t i = 0; i < t.size(); ++i) {
            if (t[i] == 0xFFFD && plain.replacements++ == 0)
                plain.firstReplacement = 2 + 2 * int64_t(i);
            plain.swappedUnits += (t[i] & 0xFF) < 0x20 && (t[i] >> 8) >= 0x20;
        }
        ExpectSame(fast, plain);
    }
}

TEST(TextFeatures, LineCounterCountsLinesWithATokenAndTheCommonestUnit) {
    struct Case {
        const char *text;
        int64_t lines;
        char16_t most;
        int64_t count;
    } cases[] = {
        {"", 0, 0, 0},
        {"one\ntwo\r\n\r\n  \nthree", 3, u'e', 3},
        {"a\r\rb\r", 2, u'a', 1},
        {"   \t\n\n", 0, 0, 0},
        {"zz z\nz", 2, u'z', 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        TLineCounter counter;
        const std::string s = c.text;
        counter.Feed(reinterpret_cast<const uint8_t *>(s.data()), s.size());
        TTextFeatures f;
        counter.Finish(f);
        EXPECT_EQ(f.nonEmptyLines, c.lines);
        EXPECT_EQ(f.mostFrequentCount, c.count);
        if (c.count > 0) {
            EXPECT_EQ(f.mostFrequent, c.most);
        }
    }
}

namespace {

QByteArray Bytes(const std::vector<uint8_t> &t) {
    return QByteArray(reinterpret_cast<const char *>(t.data()), qsizetype(t.size()));
}

TTextFeatures MeasureFeatures(const QString &path, TDefaultEncoding enc,
                              TFileMeasure *m = nullptr) {
    TTextFile file;
    EXPECT_TRUE(file.Open(path));
    TTextFeatures f;
    TByteDigraphCounter bytes;
    TWideDigraphCounter wide;
    const TFileMeasure got = file.Measure(enc, {&bytes, &wide, nullptr}, {}, &f);
    CompleteFeatures(file, got, f);
    if (m)
        *m = got;
    return f;
}

} // namespace

TEST(TextFeatures, MeasureGivesThePlainFeaturesOfEveryKindOfFile) {
    // Long enough to span blocks of the read, with a NUL in some.
    TempDir dir;
    QRandomGenerator rng(5);
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        std::vector<uint8_t> t = RandomText(rng, round < 4 ? 2000 : TTextFile::kBlock + 5000);
        const bool nul = round % 2 == 1;
        size_t nulAt = t.size();
        if (nul) {
            nulAt = t.size() - 1000;
            t[nulAt] = 0;
        }
        const std::vector<uint8_t> text(t.begin(), t.begin() + ptrdiff_t(nulAt));
        const QString ansi = dir.write(QStringLiteral("a%1").arg(round), Bytes(t));
        TTextFeatures plain = PlainBytes(text, 0, false);
        PlainShape(text, plain);
        plain.firstNul = nul ? int64_t(nulAt) : -1;
        const TTextFeatures got = MeasureFeatures(ansi, TDefaultEncoding::Windows1252);
        ExpectSame(got, AsMeasuredBesideCounter(text, plain, got));

        // UTF-8 with a mark: the bytes judged as they are, the shape on the
        // decoded units, offsets counting the mark.
        const QString marked =
            dir.write(QStringLiteral("u%1").arg(round), QByteArray("\xEF\xBB\xBF") + Bytes(t));
        TTextFeatures plain8 = PlainBytes(text, 3, true);
        std::vector<char16_t> units(text.size() + 1);
        Utf8Decoder decoder;
        // A sequence open at the NUL or the end is one U+FFFD either way.
        size_t k = decoder.Decode(text.data(), text.size(), units.data());
        k += decoder.Finish(units.data() + k);
        units.resize(k);
        PlainShape(units, plain8);
        plain8.firstNul = nul ? int64_t(nulAt) + 3 : -1;
        ExpectSame(MeasureFeatures(marked, TDefaultEncoding::Windows1252), AsMeasured(plain8));
    }
}

TEST(TextFeatures, OffsetsCountTheMarkAndEveryByteBefore) {
    TempDir dir;
    const QByteArray lead = GoodText(2); // ASCII
    const int64_t L = lead.size();
    const auto utf16 = [](const QString &s) { return Utf16LeWithMark(s); };
    const QString wideLead = QString::fromLatin1(lead);
    struct Case {
        const char *name;
        QByteArray bytes;
        int64_t TTextFeatures::*field;
        int64_t at;
    } cases[] = {
        {"NUL, 8-bit", lead + QByteArray("ab\0cd", 5), &TTextFeatures::firstNul, L + 2},
        {"NUL, UTF-8 mark", "\xEF\xBB\xBF" + lead + QByteArray("\0x", 2), &TTextFeatures::firstNul,
         L + 3},
        {"U+0000, UTF-16", utf16(wideLead + QChar(0) + QStringLiteral("tail")),
         &TTextFeatures::firstNul, 2 + 2 * L},
        {"undefined byte", lead + "caf\xE9 \x8D more", &TTextFeatures::firstUndefined, L + 5},
        {"control", lead + "x\x02y", &TTextFeatures::firstControl, L + 1},
        {"U+FFFD, 8-bit", lead + "r\xC3\xA9sum\xEF\xBF\xBD", &TTextFeatures::firstReplacement,
         L + 6},
        {"U+FFFD, UTF-8 mark", "\xEF\xBB\xBF" + lead + "\xEF\xBF\xBD",
         &TTextFeatures::firstReplacement, L + 3},
        {"U+FFFD, UTF-16", utf16(wideLead + QStringLiteral("ab") + QChar(0xFFFD)),
         &TTextFeatures::firstReplacement, 2 + 2 * (L + 2)},
        {"mojibake", lead + "caf\xC3\x83\xC2\xA9, \xC3\x83\xC2\xA8, \xC3\x83\xC2\xA0",
         &TTextFeatures::firstMojibake, L + 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.write(QString::fromLatin1(c.name).replace(' ', '_'), c.bytes);
        const TTextFeatures f = MeasureFeatures(path, TDefaultEncoding::Windows1252);
        EXPECT_EQ(f.*c.field, c.at);
    }
}

TEST(TextFeatures, WithoutFeaturesMeasureAndCountsAreUnchanged) {
    TempDir dir;
    QRandomGenerator rng(3);
    const QByteArray bytes = Bytes(RandomText(rng, 5000));
    const QString path = dir.write(QStringLiteral("t"), bytes);
    for (TDefaultEncoding enc : {TDefaultEncoding::Windows1252, TDefaultEncoding::Utf8}) {
        TTextFile a, b;
        ASSERT_TRUE(a.Open(path));
        ASSERT_TRUE(b.Open(path));
        TPairCounts plain, withFeatures;
        TTextFeatures f;
        const TFileMeasure ma = a.Measure(enc, {nullptr, nullptr, &plain});
        const TFileMeasure mb = b.Measure(enc, {nullptr, nullptr, &withFeatures}, {}, &f);
        EXPECT_EQ(ma.length, mb.length);
        EXPECT_EQ(ma.decodedUnits, mb.decodedUnits);
        EXPECT_EQ(plain.Order(), withFeatures.Order());
        EXPECT_EQ(plain.Total(), withFeatures.Total());
    }
}

TEST(TextFeatures, AutomaticReadsWellFormedUtf8AsUtf8AndTheRestAsWindows1252) {
    TempDir dir;
    const QByteArray utf8 = QStringLiteral("Grüße aus Köln\r\n").toUtf8();
    // Past the first block, so that the look-ahead decides.
    const QByteArray longAscii(int(TTextFile::kBlock) + 100, 'a');
    struct Case {
        const char *name;
        QByteArray bytes;
        TTextKind kind;
        const char16_t *start;
    } cases[] = {
        {"UTF-8", utf8, TTextKind::Utf8, u"Grüße"},
        {"Windows-1252",
         "Gr\xFC\xDF"
         "e\r\n",
         TTextKind::Ansi, u"Grüße"},
        {"ASCII", "plain\r\n", TTextKind::Utf8, u"plain"},
        {"UTF-8 but a bad byte after the first block", longAscii + utf8 + "\xFF", TTextKind::Ansi,
         u"aaaa"},
        {"UTF-8 after the first block", longAscii + utf8, TTextKind::Utf8, u"aaaa"},
        {"cut in a sequence", "Gr\xC3", TTextKind::Ansi, u"GrÃ"},
        {"a mark wins", QByteArray("\xFF\xFEG\0r\0", 6), TTextKind::Utf16LE, u"Gr"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.write(QString::fromLatin1(c.name).replace(' ', '_'), c.bytes);
        TTextFile file;
        ASSERT_TRUE(file.Open(path));
        EXPECT_EQ(file.Measure(TDefaultEncoding::Automatic).kind, c.kind);
        bool cut = false;
        EXPECT_TRUE(file.ReadTextStart(TDefaultEncoding::Automatic, 5, cut)
                        .startsWith(QString::fromUtf16(c.start)));
        EXPECT_TRUE(
            LoadText(path, TDefaultEncoding::Automatic).startsWith(QString::fromUtf16(c.start)));
    }
}

TEST(TextFeatures, AValidUtf8TextIsCountedAgainAsUtf8) {
    // The extended check's re-count: measured as 8-bit, counted as UTF-8.
    TempDir dir;
    const QByteArray text = QStringLiteral("Él está en el café con Ángel\r\n").toUtf8();
    const QString path = dir.write(QStringLiteral("t"), text);
    TTextFile file;
    ASSERT_TRUE(file.Open(path));
    TTextFeatures f;
    TFileMeasure m = file.Measure(TDefaultEncoding::Windows1252, {}, {}, &f);
    ASSERT_EQ(m.kind, TTextKind::Ansi);
    ASSERT_TRUE(f.validUtf8);
    ASSERT_GT(f.nonAscii, 0);
    m.kind = TTextKind::Utf8;
    TPairCounts counted, expected;
    file.Count(m, {nullptr, nullptr, &counted});
    char16_t prev = 0;
    const QString s = QString::fromUtf8(text);
    expected.AddUnits(reinterpret_cast<const char16_t *>(s.utf16()), size_t(s.size()), prev);
    EXPECT_EQ(counted.Order(), expected.Order());
    EXPECT_EQ(counted.CountOf(DigraphKey(u'F', u'É')), 1);
}
