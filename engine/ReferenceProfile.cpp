#include "ReferenceProfile.h"

#include "General_Trees.h"
#include "RunError.h"

namespace engine {

TReferenceBuild BuildReferenceProfile(const QStringList &files, TDefaultEncoding encoding,
                                      int32_t minDigraphs, TFileChecker &checker) {
    TReferenceBuild build;
    TPairCounts counts;
    for (const QString &name : files) {
        if (!checker.CountReference(name, encoding, counts)) {
            build.status = TReferenceBuild::Status::Missing;
            build.missing = name;
            return build;
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
