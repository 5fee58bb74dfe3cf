// SPDX-License-Identifier: GPL-3.0-or-later
// Reference sets from files and the shipped language sets: where the folder
// is found, which codes it has, and what loading them gives.
#include "LanguageSets.h"

#include "Fixtures.h"
#include "ProfileFile.h"
#include "ReferenceSetFiles.h"
#include "TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

engine::TDigraphProfile ProfileOf(const QString &text) {
    engine::TFileChecker checker;
    const engine::TReferenceBuild build = engine::BuildReferenceProfile(
        {text}, engine::TDefaultEncoding::Windows1252, engine::kDefaultMinDigraphs, checker);
    EXPECT_EQ(build.status, engine::TReferenceBuild::Status::Ok);
    return build.profile;
}

QString SaveProfile(const QString &path, const engine::TDigraphProfile &profile,
                    engine::TDefaultEncoding encoding = engine::TDefaultEncoding::Utf8,
                    int32_t minDigraphs = engine::kDefaultMinDigraphs) {
    EXPECT_EQ(engine::SaveProfileFile(path, {profile, encoding, minDigraphs}), QString());
    return path;
}

void ExpectSameProfile(const engine::TDigraphProfile &a, const engine::TDigraphProfile &b) {
    EXPECT_EQ(a.digraphs, b.digraphs);
    ASSERT_EQ(a.entries.size(), b.entries.size());
    for (size_t i = 0; i < a.entries.size(); ++i) {
        EXPECT_EQ(a.entries[i].key, b.entries[i].key) << i;
        EXPECT_EQ(a.entries[i].count, b.entries[i].count) << i;
    }
}

} // namespace

TEST(LanguageSets, TheFolderIsTheUsersChoiceElseInstalledElseTheBuildTree) {
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.file("prefix/bin")));
    ASSERT_TRUE(QDir().mkpath(dir.file("prefix/share/brindle/languages")));
    ASSERT_TRUE(QDir().mkpath(dir.file("build/share/brindle/languages")));
    const QString installed = dir.file("prefix/share/brindle/languages");
    const QString built = dir.file("build/share/brindle/languages");
    const QString mine = dir.file("mine"), none = dir.file("none");
    ASSERT_TRUE(QDir().mkpath(mine));
    const struct {
        const char *what;
        const QString *environment;
        QString exe;
        QString found;
        QStringList looked;
    } cases[] = {
        {"installed first", nullptr, dir.file("prefix/bin"), installed, {installed}},
        {"then the build tree",
         nullptr,
         dir.file("elsewhere/bin"),
         built,
         {dir.file("elsewhere/share/brindle/languages"), built}},
        {"the user's folder", &mine, dir.file("prefix/bin"), mine, {mine}},
        // The user's choice is never passed over for another.
        {"the user's folder, missing", &none, dir.file("prefix/bin"), {}, {none}},
    };
    for (const auto &c : cases) {
        const engine::TLanguagesFolder f = engine::FindLanguagesFolder(c.environment, c.exe, built);
        EXPECT_EQ(f.path, c.found) << c.what;
        EXPECT_EQ(f.looked, c.looked) << c.what;
    }
    // The build tree's program finds the build tree both ways: named once.
    const QString gone = dir.file("gone/share/brindle/languages");
    EXPECT_EQ(engine::FindLanguagesFolder(nullptr, dir.file("gone/bin"), gone).looked,
              QStringList{gone});
    const engine::TLanguagesFolder missing =
        engine::FindLanguagesFolder(nullptr, dir.file("elsewhere/bin"), none);
    EXPECT_TRUE(missing.path.isEmpty());
    EXPECT_EQ(missing.Missing(), "no language profiles: looked in " +
                                     dir.file("elsewhere/share/brindle/languages") + ", " + none +
                                     " (set BRINDLE_LANGUAGES to the folder that holds them)");
}

TEST(LanguageSets, LoadsTheChosenCodesAsSetsNamedByCode) {
    TempDir dir;
    const engine::TDigraphProfile en = ProfileOf(dir.write("en.txt", GoodText(40)));
    const engine::TDigraphProfile de =
        ProfileOf(dir.write("de.txt", QByteArray("Der Hund schl\xE4"
                                                 "ft unter dem gro\xDF"
                                                 "en Baum.\r\n")
                                          .repeated(40)));
    const QString folder = dir.file("languages");
    ASSERT_TRUE(QDir().mkpath(folder));
    // Made from texts read either way: a set only needs the letters.
    SaveProfile(folder + "/en.profile", en, engine::TDefaultEncoding::Windows1252);
    SaveProfile(folder + "/de.profile", de, engine::TDefaultEncoding::Utf8);
    dir.write("languages/README", "not a profile");
    // A name that no one could type as a code is no language: it would
    // add a column or a line wherever the set is named.
    for (const char *name : {"a\tb", "x\ny", "-x", ".profile", "\x1b[31m"})
        SaveProfile(folder + "/" + name + ".profile", en, engine::TDefaultEncoding::Windows1252);
    EXPECT_EQ(engine::LanguageCodes(folder), (QStringList{"de", "en"}));

    engine::TReferenceSets sets;
    EXPECT_FALSE(engine::LoadLanguageSets(folder, {"en", "de"}, engine::kDefaultMinDigraphs, sets));
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0].name, "en");
    ExpectSameProfile(sets[0].profile, en);
    EXPECT_EQ(sets[1].name, "de");
    ExpectSameProfile(sets[1].profile, de);

    // Errors name the file and the cause.
    dir.write("languages/xx.profile", "text, not a profile");
    SaveProfile(folder + "/old.profile", en, engine::TDefaultEncoding::Utf8, 5);
    const struct {
        QString code;
        QString path;
        QString cause;
    } bad[] = {
        {"fr", folder + "/fr.profile",
         "no profile for the language 'fr' (there are: de, en, old, xx)"},
        {"xx", folder + "/xx.profile", "not a brindle-scan profile"},
        {"old", folder + "/old.profile",
         "the profile keeps digraphs counted 5 times or more; this scan needs 10"},
    };
    for (const auto &b : bad) {
        engine::TReferenceSets none;
        const auto failed =
            engine::LoadLanguageSets(folder, {"en", b.code}, engine::kDefaultMinDigraphs, none);
        ASSERT_TRUE(failed) << b.code.toStdString();
        EXPECT_EQ(failed->path, b.path);
        EXPECT_EQ(failed->cause, b.cause);
    }
}

TEST(ReferenceSetFiles, TextsAndProfilesMakeOneSet) {
    TempDir dir;
    const QString a = dir.write("a.txt", GoodText(40));
    const QString b = dir.write("b.txt", QByteArray("Jazz quiz vexing wizards.\r\n").repeated(40));
    const engine::TDigraphProfile pa = ProfileOf(a), pb = ProfileOf(b);
    const QString savedB = SaveProfile(dir.file("b.profile"), pb);

    // Told apart by the magic: a text and a profile give the sum of the two.
    engine::TReferenceSet set;
    ASSERT_FALSE(engine::LoadReferenceSet("mixed", {a, savedB},
                                          engine::TDefaultEncoding::Windows1252,
                                          engine::kDefaultMinDigraphs, set));
    EXPECT_EQ(set.name, "mixed");
    ExpectSameProfile(set.profile, engine::AddProfiles(pa, pb));
    EXPECT_EQ(set.profile.digraphs, pa.digraphs + pb.digraphs);

    // The sum adds the counts of a digraph both have and keeps the others.
    const engine::TDigraphProfile x{{{0x00410042, 10}, {0x00430044, 20}}, 40};
    const engine::TDigraphProfile y{{{0x00410041, 11}, {0x00430044, 12}}, 30};
    ExpectSameProfile(engine::AddProfiles(x, y),
                      {{{0x00410041, 11}, {0x00410042, 10}, {0x00430044, 32}}, 70});

    const struct {
        QStringList paths;
        QString path;
        QString cause;
    } bad[] = {
        {{a, dir.file("gone.txt")}, dir.file("gone.txt"), "No such file or directory"},
        {{dir.write("cut.profile",
                    engine::EncodeProfile({pb, engine::TDefaultEncoding::Utf8, 10}).chopped(5))},
         dir.file("cut.profile"),
         "truncated profile: "},
    };
    for (const auto &k : bad) {
        engine::TReferenceSet none;
        const auto failed = engine::LoadReferenceSet(
            "s", k.paths, engine::TDefaultEncoding::Windows1252, engine::kDefaultMinDigraphs, none);
        ASSERT_TRUE(failed);
        EXPECT_EQ(failed->path, k.path);
        EXPECT_TRUE(failed->cause.startsWith(k.cause)) << failed->cause.toStdString();
    }
}
