// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileCheck.h"
#include "Fixtures.h"
#include "ReferenceProfile.h"
#include "RunError.h"
#include "Simd.h"
#include "TempDir.h"
#include "TextFile.h"
#include "TextMeasure.h"
#include "Utf8Decoder.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace engine;

namespace {

TFileMeasure MeasureOf(const QString &path, TDefaultEncoding enc = TDefaultEncoding::Windows1252) {
    TTextFile f;
    EXPECT_TRUE(f.Open(path));
    return f.Measure(enc);
}

// The plain way: decode everything, cut at NUL, split and rejoin lines.
int64_t PlainLength(const QByteArray &bytes) {
    QString raw;
    for (char c : bytes) {
        if (c == 0)
            break;
        raw.append(QChar(uchar(c))); // only ASCII in these fixtures
    }
    raw.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    raw.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (raw.isEmpty())
        return 0;
    const int64_t breaks = raw.count(QLatin1Char('\n'));
    const bool open = !raw.endsWith(QLatin1Char('\n'));
    return (raw.size() - breaks) + 2 * (breaks + (open ? 1 : 0));
}

} // namespace

TEST(TextFile, SizeTestAcrossEncodings) {
    TempDir dir;
    const QByteArray crlfText = "Hello there\r\nSecond line\r\n";
    const QByteArray utf8Text = QStringLiteral("Grüße, naïve café\r\n").toUtf8();
    struct Case {
        const char *name;
        QByteArray bytes;
        int64_t length;
        bool suspect;
    } cases[] = {
        {"8-bit, CR LF, ends in a break", crlfText, crlfText.size(), false},
        {"8-bit, LF only: longer than the file", "a\nb\n", 6, false},
        {"8-bit, no final break", "abc", 5, false},
        {"zero bytes", "", 0, false},
        {"8-bit, NUL early", QByteArray("ab\0cdefghijklmnop\r\n", 19), 4, true},
        {"UTF-16 with mark", Utf16LeWithMark(QStringLiteral("Zwölf Boxkämpfer\r\n")), 18, false},
        {"UTF-16 with NUL",
         Utf16LeWithMark(QStringLiteral("ab") + QChar(0) + QStringLiteral("cdefgh\r\n")), 4, true},
        {"UTF-8 with mark and accents", QByteArray("\xEF\xBB\xBF") + utf8Text, 19, false},
        {"UTF-8 mark, NUL early",
         QByteArray("\xEF\xBB\xBF"
                    "a\0bcdef\r\n",
                    12),
         3, true},
        {"8-bit binary junk", QByteArray("text\r\n\x01\x02\0\0\0\0\0\0\0\0", 16), 10, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.write(QString::fromLatin1(c.name).replace(' ', '_'), c.bytes);
        const TFileMeasure m = MeasureOf(path);
        EXPECT_EQ(m.length, c.length);
        EXPECT_EQ(m.size, c.bytes.size());
        EXPECT_EQ(FailsSizeTest(m), c.suspect);
    }
}

TEST(TextFile, ReadingStopsAtTheFirstNulUnlessUtf8DecodesTheWhole) {
    // A text ending at byte 28 of a file several blocks long: nothing after the
    // NUL can change an 8-bit or UTF-16 verdict, so no block after the first is
    // read. UTF-8 compares with what all its bytes decode to, so it is read
    // whole, and its figures still count every byte.
    TempDir dir;
    const QByteArray text = "Twenty-eight bytes of text\r\n";
    const QByteArray tail(3 * int(TTextFile::kBlock), 'x');
    struct Case {
        const char *name;
        QByteArray head;
        TDefaultEncoding encoding;
        bool readWhole;
        int64_t length;
    } cases[] = {
        {"8-bit", text, TDefaultEncoding::Windows1252, false, 28},
        {"UTF-16", Utf16LeWithMark(QString::fromLatin1(text)), TDefaultEncoding::Windows1252, false,
         28},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + text, TDefaultEncoding::Windows1252, true, 28},
        {"UTF-8 asked for", text, TDefaultEncoding::Utf8, true, 28},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = c.head + QByteArray(2, '\0') + tail;
        const QString path = dir.write(QString::fromLatin1(c.name).replace(' ', '_'), bytes);
        TTextFile f;
        ASSERT_TRUE(f.Open(path));
        const TFileMeasure m = f.Measure(c.encoding);
        EXPECT_EQ(m.length, c.length);
        EXPECT_TRUE(FailsSizeTest(m));
        if (c.readWhole)
            EXPECT_EQ(f.BytesRead(), bytes.size());
        else
            EXPECT_LE(f.BytesRead(), int64_t(TTextFile::kBlock));
        // The same figures in the verdict, with the digraph check's fused read too.
        TFileChecker checker;
        TCheckSettings settings;
        settings.encoding = c.encoding;
        TVerdict v;
        ASSERT_EQ(checker.Check(path, settings, nullptr, {}, v), TCheckResult::Suspect);
        EXPECT_EQ(v.reason, SizeReason(bytes.size(), c.length));
    }
}

// A digraph check of a file of a few blocks, against a good reference: the
// file is changed from the progress callback, between two blocks of the one
// read, so the change always lands mid-read.
class TextFileChanged : public testing::Test {
protected:
    void SetUp() override {
        const QString ref = dir.write("ref.txt", GoodText(60));
        build = BuildReferenceProfile({ref}, TDefaultEncoding::Windows1252, kDefaultMinDigraphs,
                                      checker);
        ASSERT_EQ(build.status, TReferenceBuild::Status::Ok);
        settings.thoroughly = true;
    }
    TempDir dir;
    TFileChecker checker;
    TReferenceBuild build;
    TCheckSettings settings;
    const QByteArray text = GoodText(int(3 * TTextFile::kBlock / 79 + 1));
};

// A file that a writer cuts short or lengthens while it is read gets no
// verdict on what was read: it is reported as changed. Growth is read only
// as far as the size at opening, so a writer that keeps ahead of the reader
// cannot keep the check going.
TEST_F(TextFileChanged, ACutOrGrownFileIsReportedAsChangedNotJudged) {
    const int64_t blocks = int64_t(text.size() / TTextFile::kBlock) + 1;
    const struct {
        const char *what;
        qint64 newSize; // < 0: add that many bytes at every block
    } cases[] = {
        {"cut short", qint64(TTextFile::kBlock) / 2},
        {"cut to nothing", 0},
        {"grown", text.size() + 1000},
        {"grown at every block", -qint64(TTextFile::kBlock)},
    };
    for (const auto &c : cases) {
        const QString path = dir.write("changing.txt", text);
        int64_t calls = 0;
        const TPercentCallback change = [&](int32_t) {
            ++calls;
            QFile f(path);
            if (c.newSize >= 0 && calls == 1) {
                EXPECT_TRUE(f.resize(c.newSize));
            } else if (c.newSize < 0 && calls < 100) {
                EXPECT_TRUE(f.resize(f.size() - c.newSize));
            }
        };
        TVerdict v;
        try {
            const TCheckResult r = checker.Check(path, settings, &build.profile, change, v);
            ADD_FAILURE() << c.what << ": judged " << int(r) << " " << v.reason.toStdString();
        } catch (const suite::TRunError &e) {
            EXPECT_EQ(e.path(), path) << c.what;
            EXPECT_EQ(e.cause(), QStringLiteral("the file changed while it was checked: %1 bytes "
                                                "when opened, %2 bytes now")
                                     .arg(text.size())
                                     .arg(QFileInfo(path).size()))
                << c.what;
        }
        EXPECT_LE(calls, blocks) << c.what;
        // The same file left alone passes.
        dir.write("changing.txt", text);
        EXPECT_EQ(checker.Check(path, settings, &build.profile, {}, v), TCheckResult::Passed)
            << c.what;
    }
}

// Rewritten in place at the same size while it is read (dd conv=notrunc):
// the size says nothing, the modification time does. The file's times are
// set back first, so that the rewrite shows even within one clock tick.
TEST_F(TextFileChanged, AFileRewrittenAtTheSameSizeIsReportedAsChanged) {
    const QString path = dir.write("rewritten.txt", text);
    const auto setBack = [&] {
        const timespec old[2] = {{946684800, 0}, {946684800, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), old, 0), 0);
    };
    for (const bool rewrite : {true, false}) {
        dir.write("rewritten.txt", text);
        setBack();
        int calls = 0;
        const TPercentCallback change = [&](int32_t) {
            if (!rewrite || ++calls != 1)
                return;
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_EQ(f.write(QByteArray(text.size() / 2, 'x')), text.size() / 2);
        };
        TVerdict v;
        try {
            const TCheckResult r = checker.Check(path, settings, &build.profile, change, v);
            EXPECT_FALSE(rewrite) << "judged " << int(r) << " " << v.reason.toStdString();
            EXPECT_EQ(r, TCheckResult::Passed);
        } catch (const suite::TRunError &e) {
            EXPECT_TRUE(rewrite) << e.cause().toStdString();
            EXPECT_EQ(e.path(), path);
            EXPECT_EQ(e.cause(), QStringLiteral("the file changed while it was checked: it was "
                                                "written to or replaced since it was opened"));
        }
    }
}

TEST(TextFile, SizeReasonText) {
    EXPECT_EQ(SizeReason(2048, 12), QStringLiteral("File-size 2048 but text-length 12"));
    // Sizes past 32 bits print as they are.
    EXPECT_EQ(SizeReason(int64_t(5) << 30, 3),
              QStringLiteral("File-size 5368709120 but text-length 3"));
}

// The vector counting runs over long blocks and across block boundaries: it
// must agree with the plain rule for any mix of CR, LF, CR LF and NUL.
TEST(TextFile, MeasureAgreesWithPlainLengthOnRandomBytes) {
    TempDir dir;
    QRandomGenerator rng(42);
    const char alphabet[] = {'a', 'b', ' ', '\r', '\n', '\r', '\n'};
    TByteDigraphCounter counter;
    TWideDigraphCounter wide;
    for (int round = 0; round < 40; ++round) {
        const int size = round < 20 ? rng.bounded(1, 200) : rng.bounded(200000, 700000);
        QByteArray bytes(size, 'x');
        for (char &c : bytes)
            c = alphabet[rng.bounded(int(sizeof alphabet))];
        if (round % 5 == 0)
            bytes[rng.bounded(size)] = 0;
        SCOPED_TRACE(round);
        const QString path = dir.write(QStringLiteral("r.txt"), bytes);
        // The same characters as UTF-16 and as UTF-8: the 16-bit counting path.
        const QString chars = QString::fromLatin1(bytes);
        const QString paths[] = {
            path, dir.write(QStringLiteral("r16.txt"), Utf16LeWithMark(chars)),
            dir.write(QStringLiteral("r8.txt"), "\xEF\xBB\xBF" + chars.toUtf8())};
        for (const QString &p : paths) {
            EXPECT_EQ(MeasureOf(p).length, PlainLength(bytes));
            // Counting the digraphs on the way, the counters count the line
            // breaks.
            counter.Reset();
            wide.Reset();
            TTextFile f;
            ASSERT_TRUE(f.Open(p));
            EXPECT_EQ(f.Measure(TDefaultEncoding::Windows1252, {&counter, &wide, nullptr}).length,
                      PlainLength(bytes));
        }
        TTextFile f;
        ASSERT_TRUE(f.Open(path));
        EXPECT_EQ(f.ReadText(TDefaultEncoding::Windows1252).size(), PlainLength(bytes));
    }
}

// The measure fed in cuts of every size around the vector widths, as bytes
// and as 16-bit units, with 16- and 32-byte vectors: texts dense in line
// breaks put a CR LF across every kind of seam, and long runs of one break
// go past the point where the vector lanes' counters are added up.
TEST(TextMeasure, AnyCutsGiveThePlainLength) {
    struct TRestore {
        ~TRestore() { SetAvx2ForTesting(true); }
    } restore;
    QRandomGenerator rng(5);
    QByteArray mixed(3000, 'x');
    const char alphabet[] = {'a', ' ', '\r', '\n', '\r', '\n'};
    for (char &c : mixed)
        c = alphabet[rng.bounded(int(sizeof alphabet))];
    const struct {
        const char *name;
        QByteArray text;
    } cases[] = {
        {"mixed", mixed},
        {"CR LF", QByteArray("\r\n").repeated(20000)},
        {"LF CR", QByteArray("\n\r").repeated(20000)},
        {"CRs", QByteArray(70000, '\r')},
        {"LFs", QByteArray(70000, '\n')},
        {"NUL inside", mixed + QByteArray(1, '\0') + mixed},
    };
    for (const bool avx2 : {true, false})
        for (const auto &c : cases) {
            SetAvx2ForTesting(avx2);
            const int64_t units = c.text.indexOf('\0') < 0 ? c.text.size() : c.text.indexOf('\0');
            const std::u16string words(c.text.begin(), c.text.end());
            for (const size_t cut :
                 {1, 2, 15, 16, 17, 31, 32, 33, 63, 64, 65, 97, 4097, 9000, 80000, 0}) {
                SCOPED_TRACE(testing::Message()
                             << c.name << ", cut " << cut << (avx2 ? "" : ", SSE2"));
                TextMeasure bytes, wide;
                int64_t taken = 0;
                for (size_t at = 0; at < words.size();) {
                    const size_t n =
                        std::min(cut ? cut : size_t(rng.bounded(1, 300)), words.size() - at);
                    const size_t k =
                        bytes.Feed(reinterpret_cast<const uint8_t *>(c.text.constData()) + at, n);
                    EXPECT_EQ(wide.Feed(words.data() + at, n), k);
                    taken += int64_t(k);
                    at += n;
                }
                EXPECT_EQ(taken, units);
                EXPECT_EQ(bytes.RawUnits(), units);
                EXPECT_EQ(bytes.Length(), PlainLength(c.text));
                EXPECT_EQ(wide.Length(), PlainLength(c.text));
                EXPECT_EQ(bytes.Ended(), units < c.text.size());
            }
        }
}

TEST(TextFile, LoadsTextAsLinesWithMarksAndCodePage) {
    TempDir dir;
    struct Case {
        const char *name;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"cp1252", "caf\xE9 \x80\x81\r\nx", QStringLiteral("café €\u0081\r\nx\r\n")},
        {"lone CR", "a\rb", QStringLiteral("a\r\nb\r\n")},
        {"utf16be", QByteArray("\xFE\xFF\x00h\x00i", 6), QStringLiteral("hi\r\n")},
        {"utf8 mark", "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9", QStringLiteral("été\r\n")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LoadText(dir.write(QString::fromLatin1(c.name), c.bytes)), c.text);
    }
}

TEST(Utf8Decoder, InvalidSequencesBecomeOneReplacementEach) {
    struct Case {
        QByteArray bytes;
        std::u16string units;
    } cases[] = {
        {"a\xC3\xA9", u"a\u00E9"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"\xC3", u"\uFFFD"},       // cut short at the end
        {"\xE2\x82x", u"\uFFFDx"}, // maximal subpart, then the byte again
        {"\xFF\xFE", u"\uFFFD\uFFFD"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // a surrogate is not valid UTF-8
    };
    for (const Case &c : cases) {
        // Whole, and one byte at a time: the same units.
        for (size_t step : {size_t(c.bytes.size()), size_t(1)}) {
            Utf8Decoder d;
            std::u16string out;
            char16_t buf[16];
            for (qsizetype i = 0; i < c.bytes.size(); i += qsizetype(step)) {
                const size_t n = std::min(step, size_t(c.bytes.size() - i));
                const size_t k =
                    d.Decode(reinterpret_cast<const uint8_t *>(c.bytes.constData()) + i, n, buf);
                out.append(buf, k);
            }
            out.append(buf, d.Finish(buf));
            EXPECT_EQ(out, c.units) << c.bytes.toHex().toStdString() << " step " << step;
        }
    }
}

TEST(Utf8Decoder, WholeBlocksDecodeAsByteByByte) {
    // Byte by byte only the sequence state is used; whole blocks take the
    // fast paths for ASCII and whole sequences. Random well-formed and
    // ill-formed pieces, cut into uneven blocks, must give the same units.
    static const char *const pieces[] = {
        "abc ",         "\xC3\xA9",     "\xDF\xBF",     "\xC2\x80",
        "\xE2\x80\x99", "\xE1\x80\x80", "\xEF\xBF\xBD", "\xE0\xA0\x80",
        "\xE0\x80\x80", "\xED\x9F\xBF", "\xED\xA0\x80", "\xF0\x9F\x98\x80",
        "\xC3",         "\xE2\x82",     "\xC1\x81",     "\x80",
        "\xFF",         "\xC3x",        "\xEE\x80",     "0123456789abcdef"};
    QRandomGenerator rng(3);
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        while (bytes.size() < 40 + size_t(round) * 4)
            bytes += pieces[rng.bounded(int(std::size(pieces)))];
        const auto *p = reinterpret_cast<const uint8_t *>(bytes.data());
        const auto decode = [&](auto blockSize) {
            Utf8Decoder d;
            std::u16string out(bytes.size() + 1, u'\0');
            size_t k = 0;
            for (size_t at = 0; at < bytes.size();) {
                const size_t n = std::min(bytes.size() - at, size_t(blockSize()));
                k += d.Decode(p + at, n, out.data() + k);
                at += n;
            }
            k += d.Finish(out.data() + k);
            out.resize(k);
            return out;
        };
        EXPECT_EQ(decode([&] { return 1 + rng.bounded(40); }), decode([] { return 1; }))
            << "round " << round;
    }
}

TEST(TextFile, SpecialAndMissingFilesAreNotOpened) {
    TempDir dir;
    const QString fifo = dir.file(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    TTextFile f;
    EXPECT_FALSE(f.Open(fifo));
    EXPECT_FALSE(f.Open(dir.file(QStringLiteral("absent"))));
    EXPECT_FALSE(f.Open(dir.path()));
}

TEST(TextFile, UnreadableFileRaisesWithNameAndCause) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads everything";
    TempDir dir;
    const QString path = dir.write(QStringLiteral("locked.txt"), "text");
    ::chmod(QFile::encodeName(path).constData(), 0);
    TTextFile f;
    try {
        f.Open(path);
        FAIL() << "no error";
    } catch (const suite::TRunError &e) {
        EXPECT_EQ(e.path(), path);
        EXPECT_EQ(e.cause(), QStringLiteral("Permission denied"));
    }
}

namespace {

// What the size test must say of `bytes`, by the plain rule: find the mark,
// decode every unit, cut the text at the first NUL unit and count its length
// as the loaded text's; "" when the file passes.
QString PlainSizeVerdict(const QByteArray &bytes, TDefaultEncoding enc) {
    const auto mark = [&](const char *m) { return bytes.startsWith(QByteArray(m)); };
    QString units;
    int64_t allUnits = 0;
    bool unicode = false, utf8 = false;
    if (mark("\xFF\xFE") || mark("\xFE\xFF")) {
        unicode = true;
        const bool le = mark("\xFF\xFE");
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
            const uchar a = uchar(bytes[i]), b = uchar(bytes[i + 1]);
            units.append(QChar(char16_t(le ? a | b << 8 : a << 8 | b)));
        }
    } else {
        utf8 = mark("\xEF\xBB\xBF") || enc == TDefaultEncoding::Utf8;
        for (qsizetype i = mark("\xEF\xBB\xBF") ? 3 : 0; i < bytes.size(); ++i)
            units.append(QChar(uchar(bytes[i]))); // ASCII or Latin-1 letters only
        allUnits = units.size();
    }
    QString text = units.left(units.indexOf(QChar(0)) < 0 ? units.size() : units.indexOf(QChar(0)));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const int64_t breaks = text.count(QLatin1Char('\n'));
    const bool open = !text.isEmpty() && !text.endsWith(QLatin1Char('\n'));
    const int64_t length = text.size() - breaks + 2 * (breaks + (open ? 1 : 0));
    const int64_t size = bytes.size();
    const bool fails = unicode ? length < size / 2 - 1
                       : utf8  ? length < allUnits - 1
                               : length < size - 1;
    return fails ? SizeReason(size, length) : QString();
}

} // namespace

// A NUL anywhere ends the text: put one at every byte of a good file, in
// each encoding, and check the size verdict and its reason through the real
// check. In UTF-16 only a whole NUL unit ends the text, not a zero byte.
TEST(TextFile, NulAtEveryBytePositionGivesThePlainSizeVerdict) {
    TempDir dir;
    const QString wide = QStringLiteral("Caf\u00E9 \u20AC au lait\r\nand \u4E2D more\r\n");
    struct Case {
        const char *name;
        QByteArray good;
        TDefaultEncoding enc;
    } cases[] = {
        {"8-bit", "Caf\xE9 au lait\r\nand more\r\n", TDefaultEncoding::Windows1252},
        {"UTF-8 with mark",
         "\xEF\xBB\xBF"
         "Cafe au lait\r\nand more\r\n",
         TDefaultEncoding::Windows1252},
        {"UTF-8 by default", "Cafe au lait\r\nand more\r\n", TDefaultEncoding::Utf8},
        {"UTF-16 LE", Utf16LeWithMark(wide), TDefaultEncoding::Windows1252},
        {"UTF-16 BE", Utf16BeWithMark(wide), TDefaultEncoding::Windows1252},
    };
    TFileChecker checker;
    // With the digraph check the length of 8-bit text comes from the digraph
    // counter's pass; the profile compared with does not matter here.
    TDigraphProfile reference;
    reference.digraphs = 1;
    for (const Case &c : cases) {
        TCheckSettings settings;
        settings.encoding = c.enc;
        for (qsizetype i = -1; i < c.good.size(); ++i) {
            for (const bool thorough : {false, true}) {
                SCOPED_TRACE(std::string(c.name) + ", NUL at " + std::to_string(i) +
                             (thorough ? ", digraph check" : ""));
                QByteArray bytes = c.good;
                if (i >= 0)
                    bytes[i] = 0;
                const QString path = dir.write(QStringLiteral("f.txt"), bytes);
                settings.thoroughly = thorough;
                TVerdict verdict;
                const TCheckResult result =
                    checker.Check(path, settings, thorough ? &reference : nullptr, {}, verdict);
                const QString expected = PlainSizeVerdict(bytes, c.enc);
                if (i < 0) {
                    ASSERT_EQ(expected, QString()) << "the good file must pass";
                }
                if (expected.isEmpty()) {
                    EXPECT_TRUE(result == TCheckResult::Passed ||
                                verdict.test == TSuspectTest::Digraph);
                } else {
                    EXPECT_EQ(result, TCheckResult::Suspect);
                    EXPECT_EQ(verdict.reason, expected);
                }
            }
        }
    }
}
