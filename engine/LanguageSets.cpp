// SPDX-License-Identifier: GPL-3.0-or-later
#include "LanguageSets.h"

#include "FileNames.h"
#include "ReferenceSetFiles.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace engine {

namespace {

const QLatin1StringView kSuffix(".profile");

} // namespace

QString TLanguagesFolder::Missing() const {
    return QStringLiteral("no language profiles: looked in ") + looked.join(QStringLiteral(", ")) +
           QStringLiteral(" (set BRINDLE_LANGUAGES to the folder that holds them)");
}

TLanguagesFolder FindLanguagesFolder(const QString *environment, const QString &executableFolder,
                                     const QString &buildFolder) {
    TLanguagesFolder found;
    QStringList candidates;
    if (environment)
        candidates << *environment;
    else
        candidates << QDir::cleanPath(executableFolder +
                                      QStringLiteral("/../share/brindle/languages"))
                   << buildFolder;
    for (const QString &folder : candidates) {
        // A program run from the build tree finds the build tree both ways.
        if (folder.isEmpty() || found.looked.contains(folder))
            continue;
        found.looked << folder;
        if (QFileInfo(folder).isDir()) {
            found.path = folder;
            break;
        }
    }
    return found;
}

TLanguagesFolder FindLanguagesFolder() {
    const QByteArray env = qgetenv("BRINDLE_LANGUAGES");
    const QString fromEnv = suite::DecodeFileName(env);
    // The executable's own folder, with or without a QCoreApplication.
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    // Set but empty counts as not set, as with PATH-like variables.
    return FindLanguagesFolder(env.isEmpty() ? nullptr : &fromEnv, QFileInfo(exe).absolutePath(),
                               QStringLiteral(BRINDLE_BUILD_LANGUAGES));
}

QStringList LanguageCodes(const QString &folder) {
    QStringList codes;
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*") + kSuffix}, QDir::Files | QDir::Readable);
    for (const QString &file : files)
        if (file.size() > kSuffix.size())
            codes << file.chopped(kSuffix.size());
    // Ordinal order, whatever the locale.
    std::sort(codes.begin(), codes.end());
    return codes;
}

QString LanguageProfilePath(const QString &folder, const QString &code) {
    return folder + QLatin1Char('/') + code + kSuffix;
}

std::optional<TReferenceError> CheckLanguageCodes(const QString &folder, const QStringList &codes) {
    const QStringList there = LanguageCodes(folder);
    for (const QString &code : codes)
        if (!there.contains(code))
            return TReferenceError{
                LanguageProfilePath(folder, code),
                QStringLiteral("no profile for the language '%1' (there are: %2)")
                    .arg(code, there.isEmpty() ? QStringLiteral("none")
                                               : there.join(QStringLiteral(", ")))};
    return std::nullopt;
}

std::optional<TReferenceError> LoadLanguageSets(const QString &folder, const QStringList &codes,
                                                int32_t minDigraphs, TReferenceSets &sets) {
    if (auto failed = CheckLanguageCodes(folder, codes))
        return failed;
    for (const QString &code : codes) {
        TDigraphProfile profile;
        if (auto failed = AddProfileFile(LanguageProfilePath(folder, code), minDigraphs, profile))
            return failed;
        sets.push_back(MakeReferenceSet(code, std::move(profile)));
        sets.back().language = true;
    }
    return std::nullopt;
}

} // namespace engine
