// SPDX-License-Identifier: GPL-3.0-or-later
// The language profiles shipped in share/brindle/languages (built by
// tools/make_language_profiles.sh), as the build tree holds them.
#include "DigraphProfile.h"
#include "ProfileFile.h"
#include "TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <cmath>
#include <string_view>
#include <vector>

namespace {

const char *const kCodes[] = {"en", "de", "fr", "es", "it"};

QString ProfilePath(const QString &code) {
    return QStringLiteral(BRINDLE_LANGUAGES_DIR "/%1.profile").arg(code);
}

engine::TSavedProfile Load(const QString &code) {
    const engine::TProfileRead read = engine::ReadProfileFile(ProfilePath(code));
    EXPECT_TRUE(read.saved.has_value()) << code.toStdString() << ": " << read.error.toStdString();
    return read.saved.value_or(engine::TSavedProfile{});
}

bool HasLetter(const engine::TDigraphProfile &p, char16_t letter) {
    for (const engine::TProfileEntry &e : p.entries)
        if (char16_t(e.key >> 16) == letter || char16_t(e.key & 0xFFFF) == letter)
            return true;
    return false;
}

// A default scan (windows-1252, the default tolerances) takes every profile.
TEST(LanguageProfiles, ADefaultDigraphScanUsesEach) {
    TempDir dir;
    const QString file =
        dir.write(QStringLiteral("note.txt"), QByteArray("A short note about the weather.\n"));
    for (const char *code : kCodes) {
        QProcess p;
        p.start(QStringLiteral(BRINDLE_SCAN),
                {QStringLiteral("-d"), QStringLiteral("--profile"),
                 ProfilePath(QLatin1String(code)), QStringLiteral("--no-progress"), file});
        ASSERT_TRUE(p.waitForFinished(60000)) << code;
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << code;
        EXPECT_LT(p.exitCode(), 2) << code << ": " << p.readAllStandardError().toStdString();
        EXPECT_TRUE(p.readAllStandardError().isEmpty()) << code;
    }
}

// Each is the letters of a few MB of its language, read as the text was
// written: its accented capitals are there, and nothing a UTF-8 text read as
// Windows-1252 would give (Ã) or a lossy conversion (U+FFFD).
TEST(LanguageProfiles, EachHoldsItsLanguagesLetters) {
    const struct {
        const char *code;
        std::u16string letters; // upper-cased, as counted
    } cases[] = {
        {"en", u""}, {"de", u"ÄÖÜß"}, {"fr", u"ÉÈÀÇ"}, {"es", u"ÑÁÉÍÓÚ"}, {"it", u"ÀÈÌÒÙ"},
    };
    for (const auto &c : cases) {
        const engine::TSavedProfile saved = Load(QLatin1String(c.code));
        EXPECT_EQ(saved.encoding, engine::TDefaultEncoding::Windows1252) << c.code;
        EXPECT_EQ(saved.min_digraphs, 10) << c.code;
        EXPECT_GT(saved.profile.digraphs, 1'000'000) << c.code;
        for (char16_t letter : c.letters)
            EXPECT_TRUE(HasLetter(saved.profile, letter))
                << c.code << " lacks U+" << std::hex << int(letter);
        EXPECT_FALSE(HasLetter(saved.profile, u'Ã')) << c.code;
        EXPECT_FALSE(HasLetter(saved.profile, u'\uFFFD')) << c.code;
    }
}

// Half the distance between two profiles' relative frequencies, summed over
// every digraph either has: 0 for the same letters, 1 for none in common.
double TotalVariation(const engine::TDigraphProfile &a, const engine::TDigraphProfile &b) {
    double sum = 0;
    size_t i = 0, j = 0;
    while (i < a.entries.size() || j < b.entries.size()) {
        const bool takeA =
            j == b.entries.size() || (i < a.entries.size() && a.entries[i].key <= b.entries[j].key);
        const bool takeB =
            i == a.entries.size() || (j < b.entries.size() && b.entries[j].key <= a.entries[i].key);
        const double fa = takeA ? double(a.entries[i].count) / double(a.digraphs) : 0;
        const double fb = takeB ? double(b.entries[j].count) / double(b.digraphs) : 0;
        sum += std::abs(fa - fb);
        i += takeA;
        j += takeB;
    }
    return sum / 2;
}

// A paragraph in each language, on nothing the profiles' texts are about, is
// closest to its own language's profile: a profile built from the wrong
// pages, or from text read in the wrong encoding, would not be.
TEST(LanguageProfiles, AParagraphIsClosestToItsLanguage) {
    const struct {
        const char *code;
        const char16_t *text;
    } cases[] = {
        {"en", u"On Sunday morning we walked along the river to the old mill, where the "
               u"baker sells bread that is still warm. The children fed the ducks while "
               u"their grandmother talked about the winter she spent there as a girl, when "
               u"the water froze so hard that people crossed it on foot."},
        {"de", u"Am Sonntagmorgen gingen wir am Fluss entlang bis zur alten Mühle, wo der "
               u"Bäcker noch warmes Brot verkauft. Die Kinder fütterten die Enten, während "
               u"ihre Großmutter von dem Winter erzählte, den sie dort als Mädchen "
               u"verbracht hatte, als das Wasser so fest gefroren war, dass man zu Fuß "
               u"hinübergehen konnte."},
        {"fr", u"Dimanche matin, nous avons longé la rivière jusqu'au vieux moulin, où le "
               u"boulanger vend un pain encore chaud. Les enfants ont nourri les canards "
               u"pendant que leur grand-mère racontait l'hiver qu'elle y avait passé quand "
               u"elle était petite, lorsque l'eau avait gelé si fort qu'on la traversait à "
               u"pied."},
        {"es", u"El domingo por la mañana caminamos junto al río hasta el viejo molino, "
               u"donde el panadero vende un pan que todavía está caliente. Los niños dieron "
               u"de comer a los patos mientras su abuela hablaba del invierno que pasó allí "
               u"de niña, cuando el agua se heló tanto que la gente la cruzaba a pie."},
        {"it", u"Domenica mattina abbiamo camminato lungo il fiume fino al vecchio mulino, "
               u"dove il fornaio vende un pane ancora caldo. I bambini davano da mangiare "
               u"alle anatre mentre la nonna raccontava dell'inverno che aveva passato lì "
               u"da bambina, quando l'acqua gelò così tanto che la gente la attraversava a "
               u"piedi."},
    };
    std::vector<engine::TSavedProfile> profiles;
    for (const char *code : kCodes)
        profiles.push_back(Load(QLatin1String(code)));
    for (const auto &c : cases) {
        engine::TPairCounts counts;
        const std::u16string_view text(c.text);
        char16_t prev = 0;
        counts.AddUnits(text.data(), text.size(), prev);
        const engine::TDigraphProfile sample = engine::MakeProfile(counts, 1);
        size_t best = 0;
        for (size_t i = 1; i < profiles.size(); ++i)
            if (TotalVariation(sample, profiles[i].profile) <
                TotalVariation(sample, profiles[best].profile))
                best = i;
        EXPECT_STREQ(kCodes[best], c.code);
    }
}

} // namespace
