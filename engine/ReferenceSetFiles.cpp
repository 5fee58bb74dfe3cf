// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceSetFiles.h"

#include "ProfileFile.h"
#include "RunError.h"

namespace engine {

TDigraphProfile AddProfiles(const TDigraphProfile &a, const TDigraphProfile &b) {
    TDigraphProfile sum;
    sum.digraphs = a.digraphs + b.digraphs;
    sum.entries.reserve(a.entries.size() + b.entries.size());
    auto i = a.entries.begin(), j = b.entries.begin();
    while (i != a.entries.end() || j != b.entries.end()) {
        if (j == b.entries.end() || (i != a.entries.end() && i->key < j->key)) {
            sum.entries.push_back(*i++);
        } else if (i == a.entries.end() || j->key < i->key) {
            sum.entries.push_back(*j++);
        } else {
            sum.entries.push_back({i->key, i->count + j->count});
            ++i;
            ++j;
        }
    }
    return sum;
}

std::optional<TReferenceError> AddProfileFile(const QString &path, int32_t minDigraphs,
                                              TDigraphProfile &sum, TScoreCut::TPoints *cut) {
    const TProfileRead read = ReadProfileFile(path);
    if (!read.saved)
        return TReferenceError{path, read.error};
    // Its own encoding: see the header.
    const QString cause = ProfileMismatch(*read.saved, read.saved->encoding, minDigraphs);
    if (!cause.isEmpty())
        return TReferenceError{path, cause};
    sum = AddProfiles(sum, read.saved->profile);
    if (cut)
        *cut = read.saved->cut;
    return std::nullopt;
}

std::optional<TReferenceError> LoadReferenceSet(const QString &name, const QStringList &paths,
                                                TDefaultEncoding encoding, int32_t minDigraphs,
                                                TReferenceSet &set) {
    QStringList texts;
    TDigraphProfile profile;
    // A set of one saved profile and nothing else is that profile, so the
    // cut stored with it is the set's.
    TScoreCut::TPoints stored;
    for (const QString &path : paths) {
        if (!HasProfileMagic(path)) {
            texts << path;
            continue;
        }
        if (auto failed =
                AddProfileFile(path, minDigraphs, profile, paths.size() == 1 ? &stored : nullptr))
            return failed;
    }
    if (!texts.isEmpty()) {
        TFileChecker checker;
        try {
            const TReferenceBuild build =
                BuildReferenceProfile(texts, encoding, minDigraphs, checker);
            if (auto failed = ReferenceBuildError(build, texts, checker))
                return failed;
            profile = AddProfiles(profile, build.profile);
        } catch (const suite::TRunError &e) {
            return TReferenceError{e.path(), e.cause()};
        }
    }
    set = MakeReferenceSet(name, std::move(profile), std::move(stored));
    return std::nullopt;
}

} // namespace engine
