// SPDX-License-Identifier: GPL-3.0-or-later
// The language profiles shipped in share/brindle/languages (built by
// tools/make_language_profiles.sh), as the build tree holds them.
#include "DigraphProfile.h"
#include "ProfileFile.h"
#include "ReferenceSets.h"
#include "TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <cmath>
#include <string_view>
#include <vector>

namespace {

const char *const kCodes[] = {"en", "de", "fr", "es", "it", "pt", "nl", "ca", "pl",
                              "cs", "sl", "hu", "ro", "sv", "da", "nb", "fi", "tr",
                              "id", "ru", "uk", "el", "sr", "vi", "gl"};

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

// Each is the letters of a few hundred KB to a few MB of its language,
// read as the text was written: its own capitals are there, and nothing a
// UTF-8 text read as Windows-1252 would give (Ã, where the language has no
// such letter) or a lossy conversion (U+FFFD).
TEST(LanguageProfiles, EachHoldsItsLanguagesLetters) {
    const struct {
        const char *code;
        std::u16string letters; // upper-cased, as counted
        bool tilde_a = false;   // Ã is a letter of the language
    } cases[] = {
        {"en", u""},         {"de", u"ÄÖÜß"},       {"fr", u"ÉÈÀÇ"}, {"es", u"ÑÁÉÍÓÚ"},
        {"it", u"ÀÈÌÒÙ"},    {"pt", u"ÃÇÊÕ", true}, {"nl", u"Ë"},    {"ca", u"ÀÇÈÒ"},
        {"pl", u"ĄĆĘŁŃŚŹŻ"}, {"cs", u"ČĚŘŠŽŮ"},     {"sl", u"ČŠŽ"},  {"hu", u"ŐŰÁÉ"},
        {"ro", u"ĂÎȘȚ"},     {"sv", u"ÅÄÖ"},        {"da", u"ÆØÅ"},  {"nb", u"ÆØÅ"},
        {"fi", u"ÄÖ"},       {"tr", u"ĞİŞÇÖÜ"},     {"id", u""},     {"ru", u"БЖЯЫ"},
        {"uk", u"ЇЄІ"},      {"el", u"ΑΩΛΞ"},       {"sr", u"ЂЋЉЊ"}, {"vi", u"ƯƠĐ", true},
        {"gl", u"ÑÁ", true}, // Galician help quotes Portuguese words
    };
    for (const auto &c : cases) {
        const engine::TSavedProfile saved = Load(QLatin1String(c.code));
        EXPECT_EQ(saved.encoding, engine::TDefaultEncoding::Windows1252) << c.code;
        EXPECT_EQ(saved.min_digraphs, 10) << c.code;
        EXPECT_GT(saved.profile.digraphs, 150'000) << c.code;
        for (char16_t letter : c.letters)
            EXPECT_TRUE(HasLetter(saved.profile, letter))
                << c.code << " lacks U+" << std::hex << int(letter);
        EXPECT_EQ(HasLetter(saved.profile, u'Ã'), c.tilde_a) << c.code;
        EXPECT_FALSE(HasLetter(saved.profile, u'\uFFFD')) << c.code;
    }
}

// Each stores its set's cut, and it is the cut the set would calibrate at
// run time, so a run with the shipped sets starts without calibrating and
// gives the same verdicts.
TEST(LanguageProfiles, EachStoresTheCutItsSetWouldCalibrate) {
    for (const char *code : kCodes) {
        const engine::TSavedProfile saved = Load(QLatin1String(code));
        EXPECT_FALSE(saved.cut.empty()) << code;
        EXPECT_EQ(saved.cut, engine::CalibrateCut(saved.profile)) << code;
    }
}

// A paragraph in each of several languages, on nothing the profiles' texts
// are about, is closest to its own language's set among all the shipped
// ones: a profile built from the wrong pages, or from text read in the
// wrong encoding, would not be.
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
        {"pt", u"No domingo de manhã caminhámos ao longo do rio até ao velho moinho, onde o "
               u"padeiro vende pão ainda quente. As crianças deram de comer aos patos "
               u"enquanto a avó falava do inverno que lá passou quando era menina, quando a "
               u"água gelou tanto que as pessoas a atravessavam a pé."},
        {"nl", u"Op zondagochtend liepen we langs de rivier naar de oude molen, waar de "
               u"bakker brood verkoopt dat nog warm is. De kinderen voerden de eenden "
               u"terwijl hun grootmoeder vertelde over de winter die ze daar als meisje "
               u"doorbracht, toen het water zo hard bevroor dat de mensen er te voet "
               u"overheen liepen."},
        {"pl", u"W niedzielę rano szliśmy wzdłuż rzeki do starego młyna, gdzie piekarz "
               u"sprzedaje jeszcze ciepły chleb. Dzieci karmiły kaczki, a ich babcia "
               u"opowiadała o zimie, którą spędziła tam jako dziewczynka, kiedy woda "
               u"zamarzła tak mocno, że ludzie przechodzili po niej pieszo."},
        {"sv", u"På söndagsmorgonen gick vi längs ån till den gamla kvarnen, där bagaren "
               u"säljer bröd som fortfarande är varmt. Barnen matade änderna medan deras "
               u"mormor berättade om vintern hon tillbringade där som flicka, när vattnet "
               u"frös så hårt att folk gick över det till fots."},
        {"ru", u"В воскресенье утром мы шли вдоль реки к старой мельнице, где пекарь "
               u"продаёт ещё тёплый хлеб. Дети кормили уток, а их бабушка рассказывала о "
               u"зиме, которую провела там девочкой, когда вода замёрзла так сильно, что "
               u"люди переходили реку пешком."},
        {"el", u"Την Κυριακή το πρωί περπατήσαμε δίπλα στο ποτάμι ως τον παλιό μύλο, όπου "
               u"ο φούρναρης πουλάει ψωμί που είναι ακόμα ζεστό. Τα παιδιά τάιζαν τις "
               u"πάπιες ενώ η γιαγιά τους μιλούσε για τον χειμώνα που πέρασε εκεί όταν "
               u"ήταν κορίτσι, όταν το νερό πάγωσε τόσο που ο κόσμος το περνούσε με τα "
               u"πόδια."},
    };
    // Every shipped set, as --language auto loads them.
    engine::TReferenceSets sets;
    for (const char *code : kCodes) {
        engine::TSavedProfile saved = Load(QLatin1String(code));
        sets.push_back(engine::MakeReferenceSet(QLatin1String(code), std::move(saved.profile),
                                                std::move(saved.cut)));
    }
    for (const auto &c : cases) {
        engine::TPairCounts counts;
        const std::u16string_view text(c.text);
        char16_t prev = 0;
        counts.AddUnits(text.data(), text.size(), prev);
        double score = -1;
        const engine::TReferenceSet *set =
            engine::ClosestSet(engine::MakeProfile(counts, 1), sets, score);
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(set->name, QLatin1String(c.code));
    }
}

} // namespace
