// SPDX-License-Identifier: GPL-3.0-or-later
// The damage detectors: for each, damaged texts it catches (and where), and
// real good texts in five languages that every detector passes.
#include "Damage.h"
#include "Fixtures.h"
#include "TempDir.h"
#include "TextFile.h"
#include "TextTables.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

#include <optional>

using namespace engine;

namespace {

QByteArray GoodFixture(const char *name) {
    QFile f(QStringLiteral(BRINDLE_GOOD_TEXTS "/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

const char *const kLanguages[] = {"en", "de", "fr", "es", "it"};

std::optional<TDamage> Judge(TempDir &dir, const QByteArray &bytes,
                             TDefaultEncoding enc = TDefaultEncoding::Windows1252) {
    static int n = 0;
    const QString path = dir.write(QStringLiteral("f%1").arg(n++), bytes);
    TTextFile file;
    EXPECT_TRUE(file.Open(path));
    TTextFeatures f;
    const TFileMeasure m = file.Measure(enc, {}, {}, &f);
    return JudgeDamage(file, m, f);
}

// UTF-8 read as Windows-1252 and saved as UTF-8 again.
QByteArray Mojibake(const QByteArray &utf8) {
    QString s;
    for (char c : utf8)
        s.append(QChar(kCp1252[uint8_t(c)]));
    return s.toUtf8();
}

// The same, but saved as Windows-1252 (the bytes are the UTF-8 ones).
QByteArray Windows1252(const QString &s) {
    QByteArray out;
    for (QChar c : s) {
        int b = c.unicode() < 0x100 ? int(c.unicode()) : -1;
        for (int x = 0x80; x < 0xA0; ++x)
            if (kCp1252[x] == c.unicode())
                b = x;
        out.append(char(b < 0 ? '?' : b));
    }
    return out;
}

QByteArray Utf16Be(const QString &s, bool mark) {
    QByteArray out = mark ? QByteArray("\xFE\xFF") : QByteArray();
    for (QChar c : s) {
        out.append(char(c.unicode() >> 8));
        out.append(char(c.unicode() & 0xFF));
    }
    return out;
}

QByteArray RandomBytesWithoutNul(int n) {
    QRandomGenerator rng(42);
    QByteArray out;
    while (out.size() < n)
        if (const char c = char(rng.bounded(256)))
            out.append(c);
    return out;
}

// The offset of the first byte above ASCII.
qsizetype FirstHigh(const QByteArray &bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (uint8_t(bytes[i]) >= 0x80)
            return i;
    return -1;
}

QByteArray Repeat(const QByteArray &piece, int times) {
    QByteArray out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// Data written as text in lines of `width` characters, as base64 (76) and
// hex dumps (60) are.
QByteArray InLines(const QByteArray &all, qsizetype width) {
    QByteArray out;
    for (qsizetype i = 0; i < all.size(); i += width)
        out += all.mid(i, width) + "\n";
    return out;
}

// One word of the German text per line.
QByteArray WordList() {
    const QString text = QString::fromUtf8(GoodFixture("de.utf8.txt"));
    const QStringList words =
        text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    return words.mid(0, 300).join(QLatin1Char('\n')).toUtf8() + "\n";
}

} // namespace

TEST(Damage, EachDetectorCatchesItsDamageAndSaysWhere) {
    TempDir dir;
    const QByteArray de = GoodFixture("de.utf8.txt");
    const QByteArray fr = GoodFixture("fr.utf8.txt");
    const QByteArray deAnsi = GoodFixture("de.cp1252.txt");
    const QString deText = QString::fromUtf8(de);
    const qsizetype firstUmlaut = de.indexOf("\xC3\xBC");
    const qsizetype firstHigh = FirstHigh(de);
    QByteArray replaced = de;
    replaced.replace("\xC3\xBC", "\xEF\xBF\xBD"); // every ü lost
    QByteArray undefinedInside = deAnsi;
    undefinedInside.insert(100, '\x90');
    QByteArray controlInside = de;
    controlInside.insert(200, "\x1B[1m");
    struct Case {
        const char *name;
        QByteArray bytes;
        TDamageCode code;
        int64_t offset; // -2: any
        TDefaultEncoding enc = TDefaultEncoding::Windows1252;
    } cases[] = {
        // UTF-16 without a mark, either order, before its NULs are named;
        // the Greek one has no NUL before its first space.
        {"UTF-16 LE without a mark", Utf16LeWithMark(deText).mid(2), TDamageCode::Utf16NoMark, -1},
        {"UTF-16 BE without a mark", Utf16Be(deText, false), TDamageCode::Utf16NoMark, -1},
        {"Greek UTF-16 LE without a mark",
         Utf16LeWithMark(QString::fromUtf8(Repeat("Καλημέρα σας, φίλοι μου. ", 20))).mid(2),
         TDamageCode::Utf16NoMark, -1},
        // A NUL anywhere.
        {"NUL block after an LF text", de + QByteArray(4096, '\0'), TDamageCode::Nul, de.size()},
        {"U+0000 in UTF-16", Utf16LeWithMark(deText.left(50) + QChar(0) + deText.mid(50)),
         TDamageCode::Nul, 2 + 100},
        // Controls and undefined bytes.
        {"random bytes without NULs", RandomBytesWithoutNul(8000), TDamageCode::Control, -2},
        {"an undefined byte in Windows-1252", undefinedInside, TDamageCode::Control, 100},
        {"an escape sequence in UTF-8", controlInside, TDamageCode::Control, 200},
        // U+FFFD.
        {"lost umlauts", replaced, TDamageCode::Replacement, firstUmlaut},
        {"lost umlauts, UTF-16", Utf16LeWithMark(QString::fromUtf8(replaced)),
         TDamageCode::Replacement, -2},
        // Mojibake, once and twice, as UTF-8 and as Windows-1252.
        {"mojibake", Mojibake(fr), TDamageCode::Mojibake, FirstHigh(fr)},
        {"mojibake twice", Mojibake(Mojibake(de)), TDamageCode::Mojibake, firstHigh},
        {"mojibake with a mark", "\xEF\xBB\xBF" + Mojibake(de), TDamageCode::Mojibake,
         3 + firstHigh},
        {"mojibake twice, automatic", Mojibake(Mojibake(de)), TDamageCode::Mojibake, firstHigh,
         TDefaultEncoding::Automatic},
        {"mojibake saved as Windows-1252 with a true é",
         Windows1252(QString::fromUtf8(Mojibake(de))) + "caf\xE9", TDamageCode::Mojibake,
         firstHigh},
        // UTF-16 faults.
        {"odd UTF-16", Utf16LeWithMark(deText) + "x", TDamageCode::OddUtf16,
         Utf16LeWithMark(deText).size()},
        {"swapped UTF-16", "\xFF\xFE" + Utf16Be(deText, false), TDamageCode::SwappedUtf16, -1},
        {"swapped UTF-16, Cyrillic",
         "\xFF\xFE" + Utf16Be(QString::fromUtf8(Repeat("Добрый вечер, друзья мои. ", 20)), false),
         TDamageCode::SwappedUtf16, -1},
        // Markup saved as text.
        {"RTF", "{\\rtf1\\ansi\\deff0 " + de + "}", TDamageCode::Markup, -1},
        {"HTML", "\r\n  <!DOCTYPE HTML>\n<html><body>" + de, TDamageCode::Markup, -1},
        {"HTML, UTF-16", Utf16LeWithMark(QStringLiteral("<html><p>") + deText), TDamageCode::Markup,
         -1},
        {"XML", "\xEF\xBB\xBF<?xml version=\"1.0\"?><doc>" + fr, TDamageCode::Markup, -1},
        // A word list.
        {"word list", WordList(), TDamageCode::WordList, -1},
        {"word list, CR LF, indented", WordList().replace("\n", "\r\n  "), TDamageCode::WordList,
         -1},
        // One character, also when every line holds one token of it.
        {"one repeated character", Repeat("=", 5000), TDamageCode::OneCharacter, -1},
        {"one character a line", Repeat("aaaaaaaa\n", 40), TDamageCode::OneCharacter, -1},
        {"one character between blanks", Repeat("x ", 400), TDamageCode::OneCharacter, -1},
        {"one character in lines", Repeat("aaaaaaaaaaab aaaaaaaaaaab\n", 40),
         TDamageCode::OneCharacter, -1},
        // Data written as text: base64 in lines, a hex dump, one long line.
        {"base64", InLines(de.toBase64(), 76), TDamageCode::Encoded, -1},
        {"hex dump", InLines(deAnsi.toHex(), 60), TDamageCode::Encoded, -1},
        {"base64 in one line", de.toBase64(), TDamageCode::Encoded, -1},
        // Empty or only whitespace.
        {"empty", "", TDamageCode::Empty, -1},
        {"a mark only", "\xEF\xBB\xBF", TDamageCode::Empty, -1},
        {"only whitespace", Repeat(" \t\r\n", 500), TDamageCode::Empty, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<TDamage> d = Judge(dir, c.bytes, c.enc);
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(DamageCodeName(d->code), DamageCodeName(c.code)) << d->reason.toStdString();
        if (c.offset != -2) {
            EXPECT_EQ(d->offset, c.offset);
        }
        EXPECT_FALSE(d->reason.isEmpty());
    }
}

TEST(Damage, RealGoodTextsInFiveLanguagesPassEveryDetector) {
    TempDir dir;
    for (const char *lang : kLanguages) {
        const QByteArray utf8 = GoodFixture((std::string(lang) + ".utf8.txt").c_str());
        const QByteArray ansi = GoodFixture((std::string(lang) + ".cp1252.txt").c_str());
        const QString text = QString::fromUtf8(utf8);
        // A single line of it, and its first few words: short good texts.
        const QByteArray line = utf8.mid(utf8.indexOf("\n\n") + 2).split('\n').value(0) + "\n";
        struct Form {
            const char *name;
            QByteArray bytes;
            TDefaultEncoding enc;
        } forms[] = {
            {"UTF-8", utf8, TDefaultEncoding::Windows1252},
            {"UTF-8, automatic", utf8, TDefaultEncoding::Automatic},
            {"UTF-8, asked for", utf8, TDefaultEncoding::Utf8},
            {"UTF-8 with a mark", "\xEF\xBB\xBF" + utf8, TDefaultEncoding::Windows1252},
            {"Windows-1252", ansi, TDefaultEncoding::Windows1252},
            {"Windows-1252, automatic", ansi, TDefaultEncoding::Automatic},
            {"UTF-16 LE", Utf16LeWithMark(text), TDefaultEncoding::Windows1252},
            {"UTF-16 BE", Utf16Be(text, true), TDefaultEncoding::Windows1252},
            {"one line", line, TDefaultEncoding::Windows1252},
            {"CR LF", QByteArray(utf8).replace("\n", "\r\n"), TDefaultEncoding::Windows1252},
        };
        for (const Form &f : forms) {
            SCOPED_TRACE(std::string(lang) + ", " + f.name);
            const std::optional<TDamage> d = Judge(dir, f.bytes, f.enc);
            EXPECT_FALSE(d.has_value()) << d->reason.toStdString();
        }
    }
}

TEST(Damage, ThresholdsLeaveQuotedExamplesAlone) {
    // A text about encodings may quote a U+FFFD or a mojibake pair or two,
    // and a DOS file ends in Ctrl-Z: none of that is damage.
    TempDir dir;
    const QByteArray en = GoodFixture("en.utf8.txt");
    const QByteArray fr = GoodFixture("fr.utf8.txt");
    // U+FFFD at a rate under one in a thousand: a manual showing it.
    QByteArray manual;
    for (int i = 0; i < 5; ++i)
        manual += en + "A lost character shows as \xEF\xBF\xBD.\n";
    const QByteArray cases[] = {
        // Han and Hangul in UTF-16: some units have a low byte below 0x20,
        // far from the share byte-swapped text shows.
        Utf16LeWithMark(QString::fromUtf8(
            Repeat("我们今天在公园里散步，天气很好，孩子们在草地上玩耍。\n", 20))),
        Utf16LeWithMark(QString::fromUtf8(Repeat("오늘은 날씨가 좋아서 공원에 갔습니다.\n", 20))),
        en + "A lost character shows as \xEF\xBF\xBD, the next as \xEF\xBF\xBD too.\n",
        manual,
        fr + "Mal lu, \xC3\xA9 devient \xC3\x83\xC2\xA9 et \xC3\xA8 devient \xC3\x83\xC2\xA8.\n",
        GoodFixture("de.cp1252.txt") + "\x1A",
        "Short.\n",
        "ok",
    };
    for (const QByteArray &bytes : cases) {
        SCOPED_TRACE(bytes.right(40).toStdString());
        const std::optional<TDamage> d = Judge(dir, bytes);
        EXPECT_FALSE(d.has_value()) << d->reason.toStdString();
    }
}

TEST(Damage, CodeNamesAreStable) {
    const char *const names[] = {"utf16-no-bom",  "nul",       "control",       "replacement",
                                 "mojibake",      "utf16-odd", "utf16-swapped", "markup",
                                 "one-character", "encoded",   "word-list",     "empty"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(DamageCodeName(TDamageCode(i)), QLatin1StringView(names[i]));
}
