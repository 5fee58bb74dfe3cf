#include "ReferenceProfile.h"

#include "General_Trees.h"
#include "RunError.h"

namespace engine {

TReferenceBuild BuildReferenceProfile(const QStringList &files, TDefaultEncoding encoding,
                                      int32_t minDigraphs, TFileChecker &checker) {
    TReferenceBuild build;
    TPairCounts counts;
    for (const QString &name : files) {
        if (!checker.CountReference(name, encoding, counts, false)) {
            build.status = TReferenceBuild::Status::Missing;
            build.missing = name;
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
