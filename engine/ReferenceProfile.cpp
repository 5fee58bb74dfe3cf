// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceProfile.h"

#include "File_utils.h"
#include "General_Trees.h"
#include "RunError.h"

namespace engine {

QString NotTextCause(int64_t fileSize, int64_t textLength) {
    return QStringLiteral("not a usable text: it fails the size test (") +
           SizeReason(fileSize, textLength) + QLatin1Char(')');
}

std::optional<TReferenceError> ReferenceBuildError(const TReferenceBuild &build,
                                                   const QStringList &files,
                                                   const TFileChecker &checker) {
    switch (build.status) {
    case TReferenceBuild::Status::Missing:
        return TReferenceError{build.missing, checker.MissingError() != 0
                                                  ? suite::ErrnoText(checker.MissingError())
                                                  : QStringLiteral("not a regular file")};
    case TReferenceBuild::Status::NotText:
        return TReferenceError{build.notText, NotTextCause(build.fileSize, build.textLength)};
    case TReferenceBuild::Status::NoDigraphs:
        return TReferenceError{
            files.join(QStringLiteral(", ")),
            QStringLiteral("no letter pairs to profile: the reference is too short or not text")};
    case TReferenceBuild::Status::Ok:
        break;
    }
    return std::nullopt;
}

TReferenceBuild BuildReferenceProfile(const QStringList &files, TDefaultEncoding encoding,
                                      int32_t minDigraphs, TFileChecker &checker) {
    TReferenceBuild build;
    TPairCounts counts;
    for (const QString &name : files) {
        TFileMeasure m;
        if (!checker.CountReference(name, encoding, counts, false, &m)) {
            build.status = TReferenceBuild::Status::Missing;
            build.missing = name;
            return build;
        }
        if (FailsSizeTest(m)) {
            build.status = TReferenceBuild::Status::NotText;
            build.notText = name;
            build.fileSize = m.size;
            build.textLength = m.length;
            return build;
        }
    }
    if (NeedsOrder(counts.Distinct())) {
        // Enough distinct digraphs to overflow the tree's walk: the order of
        // first occurrence across all the files matters, so count again in it.
        counts.Clear();
        for (const QString &name : files) {
            if (!checker.CountReference(name, encoding, counts, true)) {
                build.status = TReferenceBuild::Status::Missing;
                build.missing = name;
                return build;
            }
        }
    }
    if (counts.Total() <= 0) {
        build.status = TReferenceBuild::Status::NoDigraphs;
        return build;
    }
    try {
        build.profile = MakeProfile(counts, minDigraphs);
    } catch (const ETreeError &e) {
        throw suite::TRunError(files.join(QStringLiteral(", ")), QString::fromLatin1(e.what()));
    }
    build.status = TReferenceBuild::Status::Ok;
    return build;
}

} // namespace engine
