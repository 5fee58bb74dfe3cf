// SPDX-License-Identifier: GPL-3.0-or-later
// brindle-scan --extended as a process: the reference sets it loads, the
// errors that stop it, and the fields and columns of its lines.
#include "Fixtures.h"
#include "ScanProcess.h"
#include "TempDir.h"

#include <QDir>
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
         "brindle-scan: --language: no language profiles: looked in " + l.dir.file("nowhere") +
             " (set BRINDLE_LANGUAGES to the folder that holds them)\n"},
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
