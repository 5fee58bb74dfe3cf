// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileFile.h"

#include "FileNames.h"
#include "Fixtures.h"
#include "ReferenceProfile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>
#include <random>
#include <sys/stat.h>

using engine::TSavedProfile;

namespace {

TSavedProfile RandomProfile(std::mt19937 &rng, size_t n) {
    TSavedProfile s;
    const engine::TDefaultEncoding encodings[] = {engine::TDefaultEncoding::Windows1252,
                                                  engine::TDefaultEncoding::Utf8,
                                                  engine::TDefaultEncoding::Automatic};
    s.encoding = encodings[rng() % 3];
    s.min_digraphs = 10;
    // Digraphs as the counter makes them: a letter, then a letter or a space.
    std::vector<char16_t> letters;
    for (char16_t u = u'A'; u <= u'Z'; ++u)
        letters.push_back(u);
    for (char16_t u = 0x391; u <= 0x3A9; ++u) // Greek capitals
        if (u != 0x3A2)
            letters.push_back(u);
    for (char16_t u = 0x4E00; u < 0x4E00 + 2000; ++u) // CJK ideographs
        letters.push_back(u);
    std::vector<uint32_t> keys;
    for (char16_t a : letters) {
        keys.push_back(engine::DigraphKey(a, u' '));
        for (char16_t b : letters)
            keys.push_back(engine::DigraphKey(a, b));
    }
    std::sort(keys.begin(), keys.end());
    std::vector<uint32_t> chosen;
    std::sample(keys.begin(), keys.end(), std::back_inserter(chosen), n, rng);
    for (size_t i = 0; i < n; ++i) {
        const uint32_t key = chosen.at(i);
        const int64_t count = 10 + int64_t(rng() % 100000) * (i % 7 == 0 ? 40000 : 1);
        s.profile.entries.push_back({key, count});
        s.profile.digraphs += count;
    }
    s.profile.digraphs += rng() % 1000; // digraphs left out of the list
    if (s.profile.digraphs == 0)
        s.profile.digraphs = 5;
    return s;
}

void ExpectSame(const TSavedProfile &a, const TSavedProfile &b) {
    EXPECT_EQ(a.encoding, b.encoding);
    EXPECT_EQ(a.min_digraphs, b.min_digraphs);
    EXPECT_EQ(a.profile.digraphs, b.profile.digraphs);
    ASSERT_EQ(a.profile.entries.size(), b.profile.entries.size());
    for (size_t i = 0; i < a.profile.entries.size(); ++i) {
        EXPECT_EQ(a.profile.entries[i].key, b.profile.entries[i].key) << i;
        EXPECT_EQ(a.profile.entries[i].count, b.profile.entries[i].count) << i;
    }
}

// Bytes of a profile with fields set by hand and a right checksum, to reach
// the checks behind it.
QByteArray WithChecksum(QByteArray body) {
    const uint32_t crc = engine::Crc32(body);
    for (int i = 0; i < 4; ++i)
        body.append(char((crc >> (8 * i)) & 0xFF));
    return body;
}

QByteArray Le(uint64_t v, int bytes) {
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
    return out;
}

QByteArray Body(uint32_t version, uint32_t encoding, uint32_t minDigraphs, int64_t digraphs,
                std::vector<engine::TProfileEntry> entries) {
    QByteArray b = "BRDGPROF" + Le(version, 4) + Le(encoding, 4) + Le(minDigraphs, 4) +
                   Le(uint64_t(digraphs), 8) + Le(entries.size(), 4);
    for (const auto &e : entries)
        b += Le(e.key, 4) + Le(uint64_t(e.count), 8);
    return b;
}

// A version 2 body with `points` as its cut, of this build's calibration.
QByteArray Cut(std::vector<engine::TProfileEntry> entries,
               std::vector<std::pair<int64_t, double>> points) {
    QByteArray b = Body(2, 0, 10, 30, std::move(entries)) + Le(engine::kCutCalibration, 4) +
                   Le(points.size(), 4);
    for (const auto &[n, cut] : points)
        b += Le(uint64_t(n), 8) + Le(std::bit_cast<uint64_t>(cut), 8);
    return b;
}

} // namespace

TEST(ProfileFile, Crc32IsTheUsualOne) {
    EXPECT_EQ(engine::Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(engine::Crc32(""), 0u);
}

TEST(ProfileFile, RoundTripKeepsEveryField) {
    std::mt19937 rng(7);
    for (const size_t n : {size_t(0), size_t(1), size_t(17), size_t(3000)}) {
        const TSavedProfile saved = RandomProfile(rng, n);
        const engine::TProfileRead read = engine::DecodeProfile(engine::EncodeProfile(saved));
        ASSERT_TRUE(read.saved) << read.error.toStdString();
        ExpectSame(saved, *read.saved);
    }
}

// Version 2 adds the set's cut; a profile without one is written as
// version 1, byte for byte as before, so older readers still take it.
TEST(ProfileFile, ACutIsStoredAsVersionTwoAndReadBack) {
    std::mt19937 rng(3);
    TSavedProfile saved = RandomProfile(rng, 30);
    EXPECT_EQ(engine::EncodeProfile(saved)[8], 1);
    saved.cut = {{64, 0.5}, {256, 0.25}, {1024, 0.25}, {4096, 1.0 / 3.0 / 1024.0}};
    const QByteArray bytes = engine::EncodeProfile(saved);
    EXPECT_EQ(bytes[8], 2);
    EXPECT_EQ(bytes.size(), 36 + 12 * 30 + 8 + 16 * 4);
    const engine::TProfileRead read = engine::DecodeProfile(bytes);
    ASSERT_TRUE(read.saved) << read.error.toStdString();
    ExpectSame(saved, *read.saved);
    EXPECT_EQ(read.saved->cut, saved.cut); // every bit of each double
    EXPECT_EQ(engine::EncodeProfile(*read.saved), bytes);
}

TEST(ProfileFile, TheReferencesProfileSurvivesTheFile) {
    TempDir dir;
    const QStringList refs{dir.write("a.txt", GoodText(40)), dir.write("b.txt", OddDigraphText())};
    engine::TFileChecker checker;
    const auto build =
        engine::BuildReferenceProfile(refs, engine::TDefaultEncoding::Windows1252, 10, checker);
    ASSERT_EQ(build.status, engine::TReferenceBuild::Status::Ok);
    const QString path = dir.file("refs.profile");
    ASSERT_EQ(
        engine::SaveProfileFile(path, {build.profile, engine::TDefaultEncoding::Windows1252, 10}),
        QString());
    const engine::TProfileRead read = engine::ReadProfileFile(path);
    ASSERT_TRUE(read.saved) << read.error.toStdString();
    ExpectSame({build.profile, engine::TDefaultEncoding::Windows1252, 10}, *read.saved);
    // Saving again replaces the file whole.
    const TSavedProfile other{{{{0x00540048, 12}}, 15}, engine::TDefaultEncoding::Utf8, 10};
    ASSERT_EQ(engine::SaveProfileFile(path, other), QString());
    const engine::TProfileRead again = engine::ReadProfileFile(path);
    ASSERT_TRUE(again.saved) << again.error.toStdString();
    ExpectSame(other, *again.saved);
}

TEST(ProfileFile, EncodingNumbersReadAsTheyWereWritten) {
    // 0 and 1 are what version 1 files have always held; 2 is a profile of
    // references read automatically, which only an automatic scan may use.
    const std::vector<engine::TProfileEntry> ok = {{0x00540048, 12}};
    struct Case {
        uint32_t number;
        engine::TDefaultEncoding encoding;
    } cases[] = {{0, engine::TDefaultEncoding::Windows1252},
                 {1, engine::TDefaultEncoding::Utf8},
                 {2, engine::TDefaultEncoding::Automatic}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.number);
        const QByteArray bytes = WithChecksum(Body(1, c.number, 10, 30, ok));
        const engine::TProfileRead read = engine::DecodeProfile(bytes);
        ASSERT_TRUE(read.saved) << read.error.toStdString();
        EXPECT_EQ(read.saved->encoding, c.encoding);
        EXPECT_EQ(engine::EncodeProfile(*read.saved), bytes);
        EXPECT_TRUE(engine::ProfileMismatch(*read.saved, c.encoding, 10).isEmpty());
    }
    const TSavedProfile automatic{{ok, 30}, engine::TDefaultEncoding::Automatic, 10};
    EXPECT_EQ(engine::ProfileMismatch(automatic, engine::TDefaultEncoding::Utf8, 10),
              "the profile was made with --encoding auto; scan with the same encoding, or save "
              "the profile again with utf-8");
}

TEST(ProfileFile, EveryDamagedByteAndEveryCutIsCaught) {
    std::mt19937 rng(11);
    const QByteArray good = engine::EncodeProfile(RandomProfile(rng, 40));
    for (qsizetype i = 0; i < good.size(); ++i) {
        for (const int bit : {0, 5}) {
            QByteArray bad = good;
            bad[i] = char(bad[i] ^ (1 << bit));
            const engine::TProfileRead read = engine::DecodeProfile(bad);
            EXPECT_FALSE(read.saved) << "byte " << i;
            EXPECT_FALSE(read.error.isEmpty());
        }
    }
    for (qsizetype cut = 0; cut < good.size(); ++cut) {
        const engine::TProfileRead read = engine::DecodeProfile(good.first(cut));
        EXPECT_FALSE(read.saved) << "cut at " << cut;
        EXPECT_TRUE(read.error.startsWith("truncated profile")) << cut << read.error.toStdString();
    }
    EXPECT_TRUE(engine::DecodeProfile(good + "x").error.startsWith("corrupt profile"));
}

TEST(ProfileFile, ErrorsSayWhatIsWrong) {
    const std::vector<engine::TProfileEntry> ok{{0x00540048, 12}, {0x00540049, 10}};
    struct Case {
        const char *what;
        QByteArray bytes;
        const char *error; // start of the message
    } cases[] = {
        {"a text file", "The quick brown fox jumps over the lazy dog",
         "not a brindle-scan profile"},
        {"empty", "", "truncated profile"},
        {"a later version", WithChecksum(Body(3, 0, 10, 30, ok)),
         "profile format version 3; this brindle-scan reads versions 1 to 2"},
        {"version 0, no checksum", Body(0, 0, 10, 30, ok), "profile format version 0"},
        {"checksum", Body(1, 0, 10, 30, ok) + "abcd", "corrupt profile: the checksum"},
        {"encoding", WithChecksum(Body(1, 7, 10, 30, ok)), "corrupt profile: unknown encoding 7"},
        {"nothing counted", WithChecksum(Body(1, 0, 10, 0, {})), "corrupt profile: no digraphs"},
        {"order", WithChecksum(Body(1, 0, 10, 30, {ok[1], ok[0]})),
         "corrupt profile: entry 2 is out of order"},
        {"below the least count", WithChecksum(Body(1, 0, 10, 30, {{0x00540048, 9}})),
         "corrupt profile: entry 1 has an impossible count"},
        {"more than counted", WithChecksum(Body(1, 0, 10, 21, ok)),
         "corrupt profile: entry 2 has an impossible count"},
        {"not a digraph", WithChecksum(Body(1, 0, 10, 30, {{0x00000048, 12}})),
         "corrupt profile: entry 1 is not a digraph"},
        // A key the counter never makes would reach the reasons and columns.
        {"a TAB and a line feed", WithChecksum(Body(1, 0, 10, 30, {{0x0009000A, 12}})),
         "corrupt profile: entry 1 is not a digraph"},
        {"a letter and a TAB", WithChecksum(Body(1, 0, 10, 30, {ok[0], {0x00540009, 10}})),
         "corrupt profile: entry 2 is not a digraph"},
        {"a space first", WithChecksum(Body(1, 0, 10, 30, {{0x00200041, 12}})),
         "corrupt profile: entry 1 is not a digraph"},
        {"a digit", WithChecksum(Body(1, 0, 10, 30, {{0x00410031, 12}})),
         "corrupt profile: entry 1 is not a digraph"},
        // Refused on the count alone, before anything is read or summed.
        {"a huge count of entries", WithChecksum(Body(1, 0, 10, 30, {}).replace(28, 4, Le(~0u, 4))),
         "a profile of 4294967295 digraphs; a reference set may keep at most 65536"},
        {"a million entries", WithChecksum(Body(2, 0, 10, 30, {}).replace(28, 4, Le(1'000'000, 4))),
         "a profile of 1000000 digraphs; a reference set may keep at most 65536"},
        {"version 2 without its cut", WithChecksum(Body(2, 0, 10, 30, ok)), "truncated profile"},
        {"too many cut points", WithChecksum(Body(2, 0, 10, 30, ok) + Le(1, 4) + Le(65, 4)),
         "corrupt profile: 65 cut points"},
        {"a cut that rises", WithChecksum(Cut(ok, {{64, 0.25}, {256, 0.5}})),
         "corrupt profile: cut point 2 is impossible"},
        {"lengths out of order", WithChecksum(Cut(ok, {{256, 0.5}, {64, 0.25}})),
         "corrupt profile: cut point 2 is impossible"},
        {"a cut not a number", WithChecksum(Cut(ok, {{64, std::nan("")}})),
         "corrupt profile: cut point 1 is impossible"},
        {"a negative cut", WithChecksum(Cut(ok, {{64, -1.0}})),
         "corrupt profile: cut point 1 is impossible"},
        {"no length", WithChecksum(Cut(ok, {{0, 0.5}})),
         "corrupt profile: cut point 1 is impossible"},
    };
    for (const Case &k : cases) {
        const engine::TProfileRead read = engine::DecodeProfile(k.bytes);
        EXPECT_FALSE(read.saved) << k.what;
        EXPECT_TRUE(read.error.startsWith(QLatin1String(k.error)))
            << k.what << ": " << read.error.toStdString();
    }
    EXPECT_TRUE(engine::DecodeProfile(WithChecksum(Body(1, 1, 10, 30, ok))).saved);
    // A cut from another calibration is read as no cut: the set is then
    // calibrated as it is loaded.
    const engine::TProfileRead other = engine::DecodeProfile(
        WithChecksum(Body(2, 0, 10, 30, ok) + Le(engine::kCutCalibration + 1, 4) + Le(1, 4) +
                     Le(64, 8) + Le(std::bit_cast<uint64_t>(0.5), 8)));
    ASSERT_TRUE(other.saved) << other.error.toStdString();
    EXPECT_TRUE(other.saved->cut.empty());
}

TEST(ProfileFile, FilesThatCannotBeReadOrWritten) {
    TempDir dir;
    const QString fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(engine::ReadProfileFile(dir.file("none")).error, "No such file or directory");
    EXPECT_EQ(engine::ReadProfileFile(fifo).error, "not a regular file"); // and no hang
    EXPECT_EQ(engine::ReadProfileFile(dir.path()).error, "not a regular file");
    EXPECT_EQ(engine::SaveProfileFile(dir.file("no/such/folder.profile"), {}),
              "No such file or directory");
    // A file the size of a million entries is refused by its size, unread.
    const QString huge = dir.file("huge.profile");
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BRDGPROF");
        ASSERT_TRUE(f.resize(36 + 12 * 1'000'000));
    }
    EXPECT_EQ(engine::ReadProfileFile(huge).error,
              "12000036 bytes, more than any profile (a reference set keeps at most 65536 "
              "digraphs)");
    // Nor is a profile saved that no reader would take.
    TSavedProfile big;
    for (uint32_t i = 0; i <= engine::kMaxProfileEntries; ++i)
        big.profile.entries.push_back({0x00410041 + i, 10});
    big.profile.digraphs = 10 * int64_t(big.profile.entries.size());
    EXPECT_EQ(engine::SaveProfileFile(dir.file("big.profile"), big),
              "the profile keeps 65537 digraphs; a reference set may keep at most 65536");
    EXPECT_FALSE(QFile::exists(dir.file("big.profile")));
}

TEST(ProfileFile, ANameThatIsNotUtf8KeepsItsBytes) {
    TempDir dir;
    const QByteArray bytes = QFile::encodeName(dir.path()) + "/r\xE9"
                                                             "f.profile";
    const QString name = suite::DecodeFileName(bytes);
    const TSavedProfile saved{{{{0x00540048, 12}}, 15}, engine::TDefaultEncoding::Utf8, 10};
    ASSERT_EQ(engine::SaveProfileFile(name, saved), QString());
    struct stat st;
    EXPECT_EQ(::stat(bytes.constData(), &st), 0) << "not saved under its own bytes";
    const engine::TProfileRead read = engine::ReadProfileFile(name);
    ASSERT_TRUE(read.saved) << read.error.toStdString();
    ExpectSame(saved, *read.saved);
    ::unlink(bytes.constData()); // QTemporaryDir cannot remove a name that is not UTF-8
}
