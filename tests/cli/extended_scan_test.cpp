// SPDX-License-Identifier: GPL-3.0-or-later
// brindle-scan --extended as a process: the reference sets it loads, the
// errors that stop it, and the fields and columns of its lines.
#include "Fixtures.h"
#include "ScanProcess.h"
#include "TempDir.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// A folder of language profiles saved by brindle-scan itself, and a corpus.
struct Languages {
    TempDir dir;
    QString folder;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    Languages() {
        folder = dir.file("languages");
        EXPECT_TRUE(QDir().mkpath(folder));
        const QString en = dir.write("en.txt", GoodText(60));
        const QString de = dir.write(
            "de.txt",
            QStringLiteral("Der Hund schläft unter dem großen Baum, während die Katze spielt.\r\n")
                .repeated(60)
                .toUtf8());
        for (const auto &[code, text] : {std::pair{"en", en}, std::pair{"de", de}})
            EXPECT_EQ(Scan({"-e", "utf-8", "-r", text, "--save-profile",
                            folder + "/" + code + ".profile"})
                          .exit,
                      0);
        env.insert("BRINDLE_LANGUAGES", folder);
    }
};

} // namespace

TEST(ExtendedScan, SetsThatCannotBeLoadedStopTheRunNamingFileAndCause) {
    Languages l;
    const QString data = l.dir.write("data/a.txt", GoodText(5)).section('/', 0, -2);
    const QString empty = l.dir.file("no-profiles");
    ASSERT_TRUE(QDir().mkpath(empty));
    const QString cut = l.dir.write("cut.profile", "BRDGPROF\x01");
    const struct {
        const char *what;
        QStringList args;
        QString languages; // BRINDLE_LANGUAGES
        QString err;
    } cases[] = {
        {"an unknown code names those there are",
         {"--language", "en,fr"},
         l.folder,
         "brindle-scan: " + l.folder +
             "/fr.profile: no profile for the language 'fr' (there are: de, en)\n"},
        {"no folder: where it looked",
         {"--language", "auto"},
         l.dir.file("nowhere"),
         "brindle-scan: built-in languages: no language profiles: looked in " +
             l.dir.file("nowhere") + " (set BRINDLE_LANGUAGES to the folder that holds them)\n"},
        {"a folder without profiles",
         {"--language", "auto"},
         empty,
         "brindle-scan: " + empty + ": no language profiles (CODE.profile) here\n"},
        {"a missing text in a set",
         {"--set", "mine=" + l.dir.file("gone.txt")},
         l.folder,
         "brindle-scan: " + l.dir.file("gone.txt") + ": No such file or directory\n"},
        {"a damaged profile in a set",
         {"--set", "mine=" + l.dir.file("en.txt"), "--set", "mine=" + cut},
         l.folder,
         "brindle-scan: " + cut + ": truncated profile: 9 bytes where at least 36 were expected\n"},
    };
    for (const auto &c : cases) {
        QProcessEnvironment env = l.env;
        env.insert("BRINDLE_LANGUAGES", c.languages);
        const ScanResult r =
            Scan(QStringList{"--extended", "-d"} + c.args + QStringList{data}, {}, env);
        EXPECT_EQ(r.exit, 2) << c.what;
        EXPECT_EQ(r.out, QString()) << c.what;
        EXPECT_EQ(r.err, c.err) << c.what;
    }
}

namespace {

// One JSON line per listed file, by file name.
QMap<QString, QJsonObject> ByName(const QString &jsonl) {
    QMap<QString, QJsonObject> lines;
    for (const QString &line : jsonl.split('\n', Qt::SkipEmptyParts)) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        lines.insert(o.value("path").toString().section('/', -1), o);
    }
    return lines;
}

} // namespace

TEST(ExtendedScan, LinesCarryStatusCodeOffsetSetAndScore) {
    Languages l;
    const QByteArray good = GoodText(20);
    l.dir.write("d/fffd.txt", good + QStringLiteral("\uFFFD").repeated(20).toUtf8() + good);
    l.dir.write("d/nul.txt", good + QByteArray(1, '\0') + good);
    l.dir.write("d/short.txt", "A short note.\r\n");
    QByteArray junk;
    for (int i = 0; i < 300; ++i)
        junk += "qxzjk vwyqz jkxqv ";
    l.dir.write("d/junk.txt", junk);
    l.dir.write("d/good-en.txt", good);
    l.dir.write(
        "d/good-de.txt",
        QStringLiteral("Der Hund schläft unter dem großen Baum, während die Katze spielt.\r\n")
            .repeated(20)
            .toUtf8());
    const QString d = l.dir.file("d");
    const QStringList sets{"--extended", "-d", "--language", "auto"};

    const ScanResult json = Scan(sets + QStringList{"--format", "jsonl", d}, {}, l.env);
    EXPECT_EQ(json.exit, 1) << json.err.toStdString();
    const auto lines = ByName(json.out);
    EXPECT_EQ(lines.keys(), (QStringList{"fffd.txt", "junk.txt", "nul.txt", "short.txt"}));
    const struct {
        const char *file;
        const char *status;
        const char *test;
        const char *code;
        qint64 offset; // -1: none
    } damage[] = {
        {"fffd.txt", "suspect", "damage", "replacement", good.size()},
        // The size test's verdict, the NUL beside it.
        {"nul.txt", "suspect", "size", "size", good.size()},
        {"short.txt", "too-short", "too-short", "too-short", -1},
        {"junk.txt", "suspect", "digraph", "digraph", -1},
    };
    for (const auto &k : damage) {
        const QJsonObject o = lines.value(k.file);
        EXPECT_EQ(o.value("status").toString(), k.status) << k.file;
        EXPECT_EQ(o.value("test").toString(), k.test) << k.file;
        EXPECT_EQ(o.value("code").toString(), k.code) << k.file;
        EXPECT_EQ(o.value("offset").toInteger(-1), k.offset) << k.file;
        EXPECT_FALSE(o.value("reason").toString().isEmpty()) << k.file;
    }
    const qint64 shortPairs = lines.value("short.txt").value("digraphs").toInteger();
    EXPECT_TRUE(shortPairs > 0 && shortPairs < 667) << shortPairs;
    // The digraph suspect names its set and its score over the cut, and
    // explains itself pair by pair.
    const QJsonObject j = lines.value("junk.txt");
    EXPECT_TRUE(j.value("set") == "en" || j.value("set") == "de")
        << j.value("set").toString().toStdString();
    EXPECT_GT(j.value("score").toDouble(), j.value("cut").toDouble());
    EXPECT_GE(j.value("cut").toDouble(), 0.0);
    EXPECT_GT(j.value("digraphs").toInteger(), 667);
    const QJsonArray many = j.value("too_many_pairs").toArray();
    ASSERT_FALSE(many.isEmpty());
    const QJsonObject pair = many.first().toObject();
    EXPECT_EQ(pair.keys(), (QStringList{"file", "pair", "reference"}));
    EXPECT_GT(pair.value("file").toDouble(), pair.value("reference").toDouble());
    EXPECT_TRUE(j.value("too_few_pairs").isArray());
    // The size test's fields and the damage beside it, in a field of its own.
    const QJsonObject nul = lines.value("nul.txt");
    EXPECT_EQ(nul.value("file_size").toInteger(), 2 * good.size() + 1);
    EXPECT_EQ(nul.value("text_length").toInteger(), good.size());
    EXPECT_EQ(nul.value("damage").toObject().value("code").toString(), "nul");

    // TSV: the same verdicts, the extra columns after the reason.
    const ScanResult tsv = Scan(sets + QStringList{d}, {}, l.env);
    EXPECT_EQ(tsv.exit, 1);
    const QStringList rows = tsv.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 4);
    for (const QString &row : rows) {
        const QStringList cols = row.split('\t');
        ASSERT_EQ(cols.size(), 9) << row.toStdString();
        const QJsonObject o = lines.value(cols[0].section('/', -1));
        EXPECT_EQ(cols[1], o.value("reason").toString());
        EXPECT_EQ(cols[2], o.value("status").toString());
        EXPECT_EQ(cols[3], o.value("code").toString());
        EXPECT_EQ(cols[4],
                  o.contains("offset") ? QString::number(o.value("offset").toInteger()) : "");
        EXPECT_EQ(cols[5], o.value("set").toString());
        // The shortest text that reads back as the same score.
        EXPECT_EQ(cols[6].isEmpty(), !o.contains("score"));
        EXPECT_EQ(cols[6].toDouble(), o.value("score").toDouble(0));
        const QJsonObject damage = o.value("damage").toObject();
        EXPECT_EQ(cols[7], damage.value("code").toString());
        EXPECT_EQ(cols[8], damage.value("reason").toString());
    }
}

// Too short to judge is neither passed nor suspect: listed, counted apart,
// and no reason for status 1.
TEST(ExtendedScan, TooShortFilesAreListedButDoNotMakeTheStatusOne) {
    Languages l;
    l.dir.write("d/a.txt", "A short note.\r\n");
    l.dir.write("d/b.txt", "Another one.\r\n");
    const ScanResult r =
        Scan({"--extended", "-d", "--language", "en", "--progress", l.dir.file("d")}, {}, l.env);
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count("\ttoo-short\ttoo-short\t"), 2) << r.out.toStdString();
    const QRegularExpression summary(QStringLiteral(
        "brindle-scan: 2 files checked, 0 suspect, 2 too short, 0 errors, [0-9]+\\.[0-9] s\n$"));
    EXPECT_TRUE(summary.match(r.err).hasMatch()) << r.err.toStdString();
    // A default run lists neither.
    EXPECT_EQ(Scan({l.dir.file("d")}).out, QString());
}

// The default tests keep their word under --extended: every file that the
// size test or the digraph check lists keeps that test and that reason,
// and damage found in it is added in columns of its own.
TEST(ExtendedScan, DefaultVerdictsStandWithDamageBesideThem) {
    TempDir dir;
    const QByteArray english = GoodText(60);
    const QString ref = dir.write("ref.txt", english);
    const QByteArray german =
        QStringLiteral("Der Hund schläft unter dem großen Baum, während die Katze spielt.\r\n")
            .repeated(40)
            .toLatin1();
    dir.write("d/cut.txt", GoodText(10) + QByteArray(4000, '\0'));
    dir.write("d/de.txt", german);
    dir.write("d/de.html", "<html><body><p>" + german + "</p></body></html>\r\n");
    dir.write("d/good.txt", GoodText(20));
    const QString d = dir.file("d");
    const QStringList args{"-s", "-d", "-r", ref, d};
    const ScanResult plain = Scan(args);
    const ScanResult extended = Scan(QStringList{"--extended"} + args);
    ASSERT_EQ(plain.exit, 1) << plain.err.toStdString();
    ASSERT_EQ(extended.exit, 1) << extended.err.toStdString();
    const QStringList plainRows = plain.out.split('\n', Qt::SkipEmptyParts);
    const QStringList extendedRows = extended.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(plainRows.size(), 3) << plain.out.toStdString();
    ASSERT_EQ(extendedRows.size(), plainRows.size()) << extended.out.toStdString();
    const QMap<QString, QString> beside{{"cut.txt", "nul"}, {"de.html", "markup"}, {"de.txt", ""}};
    for (qsizetype i = 0; i < plainRows.size(); ++i) {
        const QStringList p = plainRows[i].split('\t');
        const QStringList e = extendedRows[i].split('\t');
        ASSERT_EQ(e.size(), 9) << extendedRows[i].toStdString();
        EXPECT_EQ(e.mid(0, 2), p) << extendedRows[i].toStdString();
        const QString name = p[0].section('/', -1);
        EXPECT_EQ(e[3], name == "cut.txt" ? "size" : "digraph") << name.toStdString();
        EXPECT_EQ(e[7], beside.value(name)) << name.toStdString();
    }
}
