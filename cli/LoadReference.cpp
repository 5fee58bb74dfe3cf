// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadReference.h"

#include "FileCheck.h"
#include "ProfileFile.h"
#include "ReferenceProfile.h"
#include "RunError.h"

namespace cli {

std::optional<TReferenceError> LoadReference(const TScanOptions &o, int32_t minDigraphs,
                                             engine::TDigraphProfile &reference) {
    if (!o.profile.isEmpty()) {
        engine::TProfileRead read = engine::ReadProfileFile(o.profile);
        const QString cause =
            read.saved ? engine::ProfileMismatch(*read.saved, o.encoding, minDigraphs) : read.error;
        if (!cause.isEmpty())
            return TReferenceError{o.profile, cause};
        reference = std::move(read.saved->profile);
    }
    if (o.references.isEmpty())
        return std::nullopt;
    engine::TFileChecker checker;
    try {
        const engine::TReferenceBuild build =
            engine::BuildReferenceProfile(o.references, o.encoding, minDigraphs, checker);
        if (auto failed = engine::ReferenceBuildError(build, o.references, checker))
            return failed;
        reference = build.profile;
    } catch (const suite::TRunError &e) {
        return TReferenceError{e.path(), e.cause()};
    }
    return std::nullopt;
}

} // namespace cli
