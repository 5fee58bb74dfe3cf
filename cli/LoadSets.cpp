// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadSets.h"

#include "LanguageSets.h"
#include "ReferenceSetFiles.h"

namespace cli {

namespace {

// The folder of the shipped sets and the codes --language names there (all
// of them for "auto").
std::optional<TReferenceError> FindLanguages(const TScanOptions &o, QString &folder,
                                             QStringList &codes) {
    const engine::TLanguagesFolder found = engine::FindLanguagesFolder();
    if (found.path.isEmpty())
        return TReferenceError{QStringLiteral("--language"), found.Missing()};
    folder = found.path;
    if (o.languages != QStringList{QStringLiteral("auto")}) {
        for (const QString &code : o.languages)
            if (!codes.contains(code))
                codes << code;
        return engine::CheckLanguageCodes(folder, codes);
    }
    codes = engine::LanguageCodes(folder);
    if (codes.isEmpty())
        return TReferenceError{folder, QStringLiteral("no language profiles (CODE.profile) here")};
    return std::nullopt;
}

} // namespace

std::optional<TReferenceError> LoadSets(const TScanOptions &o, int32_t minDigraphs,
                                        const engine::TDigraphProfile *reference,
                                        engine::TReferenceSets &sets) {
    QString folder;
    QStringList languages;
    if (!o.languages.isEmpty())
        if (auto failed = FindLanguages(o, folder, languages))
            return failed;
    if (reference) {
        if (languages.contains(ReferenceSetName()))
            return TReferenceError{engine::LanguageProfilePath(folder, ReferenceSetName()),
                                   QStringLiteral("a language may not be named like the set of "
                                                  "-r and --profile")};
        sets.push_back(engine::MakeReferenceSet(ReferenceSetName(), *reference));
    }
    // Each name's paths, in the order the names were first given; a
    // language named by --set too adds its profile there.
    QStringList names;
    QList<QStringList> paths;
    for (const TSetPath &s : o.sets) {
        qsizetype at = names.indexOf(s.name);
        if (at < 0) {
            at = names.size();
            names << s.name;
            paths << QStringList();
        }
        paths[at] << s.path;
    }
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (languages.removeOne(names.at(i)))
            paths[i] << engine::LanguageProfilePath(folder, names.at(i));
        engine::TReferenceSet set;
        if (auto failed = engine::LoadReferenceSet(names.at(i), paths.at(i), ReferenceEncoding(o),
                                                   minDigraphs, set))
            return failed;
        sets.push_back(std::move(set));
    }
    if (!languages.isEmpty())
        return engine::LoadLanguageSets(folder, languages, minDigraphs, sets);
    return std::nullopt;
}

} // namespace cli
