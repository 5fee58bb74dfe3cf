// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shipped language sets: one saved profile per language, CODE.profile
// (en.profile, de.profile, ...), in one folder. The window and brindle-scan
// find that folder and load the chosen languages the same way.

#include "ReferenceProfile.h"
#include "ReferenceSets.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace engine {

struct TLanguagesFolder {
    QString path;       // empty when none was found
    QStringList looked; // every folder tried, in order
    // Why there is none: names where it looked.
    QString Missing() const;
};

// $BRINDLE_LANGUAGES when it is set and not empty (only there: the user
// chose it); else the installed <the executable's folder>/../share/brindle/
// languages; else the build tree's share/brindle/languages, for a program
// run where it was built.
TLanguagesFolder FindLanguagesFolder();
// The same choice from given places; `environment` null when not set.
TLanguagesFolder FindLanguagesFolder(const QString *environment, const QString &executableFolder,
                                     const QString &buildFolder);

// Whether `name` can name a set (a language code among them): 1 to 64 ASCII
// letters, digits, '-', '_' and '.', starting with a letter or digit.
bool IsSetName(const QString &name);

// The codes of the profiles in `folder`, in code-unit order: only names
// that IsSetName takes (a file "a<TAB>b.profile" would forge a column).
QStringList LanguageCodes(const QString &folder);
QString LanguageProfilePath(const QString &folder, const QString &code);

// An error for the first of `codes` that has no profile in `folder`, naming
// the file looked for and the codes there are.
std::optional<TReferenceError> CheckLanguageCodes(const QString &folder, const QStringList &codes);

// Appends the sets of `codes` (each named by its code), in that order,
// after CheckLanguageCodes.
std::optional<TReferenceError> LoadLanguageSets(const QString &folder, const QStringList &codes,
                                                int32_t minDigraphs, TReferenceSets &sets);

} // namespace engine
