// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One run setup for both front ends: the window and brindle-scan turn the
// same choices (known good texts, a saved profile, named sets, built-in
// languages, the encoding policy) into the same reference and sets here,
// so that they read references the same way and give the same list.

#include "FileCheck.h"
#include "ReferenceProfile.h"
#include "ReferenceSets.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace engine {

// The name of the set the known good texts (and a saved profile) make
// under the extended checks.
QString ReferenceSetName();

// Why `name` cannot name a set, or empty when it can. A set's name shows in
// every output line: ASCII letters, digits, '-', '_' and '.', starting with
// a letter or digit, at most 64, so that it needs no escaping; and not the
// name of the known good texts' set.
QString SetNameProblem(const QString &name);

// A named set: texts and saved profiles, told apart by the profile's magic.
struct TNamedSetFiles {
    QString name;
    QStringList paths;
};

struct TRunRequest {
    QStringList references; // known good texts
    QString profile;        // a saved profile, with or instead of them
    // In the order given; a name given twice pools its paths.
    QList<TNamedSetFiles> named;
    // Built-in languages by code, or {"auto"} for all of them.
    QStringList languages;
    TCheckSettings settings; // digraph check, extended, encoding, tolerances
};

struct TRunSetup {
    // The default digraph check's reference; empty when none was named.
    TDigraphProfile reference;
    bool haveReference = false;
    // The extended digraph check's sets, only under the extended checks
    // with the digraph check on.
    std::shared_ptr<const TReferenceSets> sets;
};

// How reference texts are read: as the run reads its files' letter pairs.
// The extended check reads an 8-bit file that is well-formed UTF-8 as UTF-8
// for them, so its references are read automatically where the run's
// files are read as Windows-1252.
TDefaultEncoding ReferenceEncoding(const TCheckSettings &settings);

// Builds the run's reference and sets. The sets, in order: "reference"
// (the known good texts and the saved profile), the named sets, then the
// built-in languages. A named set may not be named like a loaded built-in
// language: the two would be judged as one language twice over. The error
// names the file (or the set, or the languages folder) at fault and why.
std::optional<TReferenceError> BuildRunSetup(const TRunRequest &request, TRunSetup &setup);

} // namespace engine
