// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunSetup.h"

#include "LanguageSets.h"
#include "ProfileFile.h"
#include "ReferenceSetFiles.h"
#include "RunError.h"

namespace engine {

namespace {

constexpr qsizetype kMaxSetName = 64;

// The default check's reference: the saved profile as it was made (its
// least count and encoding must be the run's), the texts read as the run
// reads its files.
std::optional<TReferenceError> LoadDefaultReference(const TRunRequest &r,
                                                    TDigraphProfile &reference) {
    const TCheckSettings &s = r.settings;
    if (!r.profile.isEmpty() && s.extended)
        // As any set's profile: see LoadReferenceSet.
        return AddProfileFile(r.profile, s.min_digraphs, reference);
    if (!r.profile.isEmpty()) {
        TProfileRead read = ReadProfileFile(r.profile);
        const QString cause =
            read.saved ? ProfileMismatch(*read.saved, s.encoding, s.min_digraphs) : read.error;
        if (!cause.isEmpty())
            return TReferenceError{r.profile, cause};
        reference = std::move(read.saved->profile);
    }
    if (r.references.isEmpty())
        return std::nullopt;
    TFileChecker checker;
    try {
        const TReferenceBuild build =
            BuildReferenceProfile(r.references, ReferenceEncoding(s), s.min_digraphs, checker);
        if (auto failed = ReferenceBuildError(build, r.references, checker))
            return failed;
        reference = build.profile;
    } catch (const suite::TRunError &e) {
        return TReferenceError{e.path(), e.cause()};
    }
    return std::nullopt;
}

// The languages folder and the codes asked for (all of them for "auto").
std::optional<TReferenceError> FindLanguages(const QStringList &asked, QString &folder,
                                             QStringList &codes) {
    const TLanguagesFolder found = FindLanguagesFolder();
    if (found.path.isEmpty())
        return TReferenceError{QStringLiteral("built-in languages"), found.Missing()};
    folder = found.path;
    if (asked != QStringList{QStringLiteral("auto")}) {
        for (const QString &code : asked)
            if (!codes.contains(code))
                codes << code;
        return CheckLanguageCodes(folder, codes);
    }
    codes = LanguageCodes(folder);
    if (codes.isEmpty())
        return TReferenceError{folder, QStringLiteral("no language profiles (CODE.profile) here")};
    return std::nullopt;
}

std::optional<TReferenceError> LoadSets(const TRunRequest &r, const TDigraphProfile *reference,
                                        TReferenceSets &sets) {
    const int32_t minDigraphs = r.settings.min_digraphs;
    QString folder;
    QStringList languages;
    if (!r.languages.isEmpty())
        if (auto failed = FindLanguages(r.languages, folder, languages))
            return failed;
    if (reference)
        sets.push_back(MakeReferenceSet(ReferenceSetName(), *reference));
    // Each name's paths, in the order the names were first given.
    QStringList names;
    QList<QStringList> paths;
    for (const TNamedSetFiles &named : r.named) {
        if (const QString problem = SetNameProblem(named.name); !problem.isEmpty())
            return TReferenceError{named.name, problem};
        if (languages.contains(named.name))
            return TReferenceError{named.name,
                                   QStringLiteral("a set may not be named like a built-in "
                                                  "language that the run loads; give it "
                                                  "another name")};
        qsizetype at = names.indexOf(named.name);
        if (at < 0) {
            at = names.size();
            names << named.name;
            paths << QStringList();
        }
        paths[at] += named.paths;
    }
    for (qsizetype i = 0; i < names.size(); ++i) {
        TReferenceSet set;
        if (auto failed = LoadReferenceSet(names.at(i), paths.at(i), ReferenceEncoding(r.settings),
                                           minDigraphs, set))
            return failed;
        sets.push_back(std::move(set));
    }
    if (!languages.isEmpty())
        return LoadLanguageSets(folder, languages, minDigraphs, sets);
    return std::nullopt;
}

} // namespace

QString ReferenceSetName() {
    return QStringLiteral("reference");
}

QString SetNameProblem(const QString &name) {
    bool ok = !name.isEmpty() && name.size() <= kMaxSetName;
    for (qsizetype i = 0; ok && i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool alnum =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        ok = alnum || (i > 0 && (c == '-' || c == '_' || c == '.'));
    }
    if (!ok)
        return QStringLiteral("a set's name is 1 to 64 ASCII letters, digits, '-', '_' and '.', "
                              "starting with a letter or digit");
    if (name == ReferenceSetName())
        return QStringLiteral("the set 'reference' is the known good texts' own");
    return QString();
}

TDefaultEncoding ReferenceEncoding(const TCheckSettings &s) {
    return s.extended && s.encoding == TDefaultEncoding::Windows1252 ? TDefaultEncoding::Automatic
                                                                     : s.encoding;
}

std::optional<TReferenceError> BuildRunSetup(const TRunRequest &request, TRunSetup &setup) {
    setup = TRunSetup{};
    setup.haveReference = !request.references.isEmpty() || !request.profile.isEmpty();
    if (auto failed = LoadDefaultReference(request, setup.reference))
        return failed;
    const TCheckSettings &s = request.settings;
    if (!s.extended || !s.thoroughly)
        return std::nullopt;
    auto sets = std::make_shared<TReferenceSets>();
    if (auto failed = LoadSets(request, setup.haveReference ? &setup.reference : nullptr, *sets))
        return failed;
    SeparateSets(*sets);
    setup.sets = std::move(sets);
    return std::nullopt;
}

} // namespace engine
