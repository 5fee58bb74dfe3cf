// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadReference.h"

#include "FileCheck.h"
#include "ProfileFile.h"
#include "ReferenceProfile.h"
#include "ReferenceSetFiles.h"
#include "RunError.h"

namespace cli {

engine::TDefaultEncoding ReferenceEncoding(const TScanOptions &o) {
    return o.extended && o.encoding == engine::TDefaultEncoding::Windows1252
               ? engine::TDefaultEncoding::Automatic
               : o.encoding;
}

std::optional<TReferenceError> LoadReference(const TScanOptions &o, int32_t minDigraphs,
                                             engine::TDigraphProfile &reference) {
    if (!o.profile.isEmpty() && o.extended)
        // As any set's profile: see engine::LoadReferenceSet.
        return engine::AddProfileFile(o.profile, minDigraphs, reference);
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
            engine::BuildReferenceProfile(o.references, ReferenceEncoding(o), minDigraphs, checker);
        if (auto failed = engine::ReferenceBuildError(build, o.references, checker))
            return failed;
        reference = build.profile;
    } catch (const suite::TRunError &e) {
        return TReferenceError{e.path(), e.cause()};
    }
    return std::nullopt;
}

} // namespace cli
