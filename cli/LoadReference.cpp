// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadReference.h"

#include "FileCheck.h"
#include "File_utils.h"
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
        switch (build.status) {
        case engine::TReferenceBuild::Status::Missing:
            // The checker's last look was at that file.
            return TReferenceError{build.missing, checker.MissingError() != 0
                                                      ? suite::ErrnoText(checker.MissingError())
                                                      : QStringLiteral("not a regular file")};
        case engine::TReferenceBuild::Status::NotText:
            return TReferenceError{build.notText,
                                   engine::NotTextCause(build.fileSize, build.textLength)};
        case engine::TReferenceBuild::Status::NoDigraphs:
            return TReferenceError{
                o.references.join(QStringLiteral(", ")),
                QStringLiteral(
                    "no letter pairs to profile: the reference is too short or not text")};
        case engine::TReferenceBuild::Status::Ok:
            break;
        }
        reference = build.profile;
    } catch (const suite::TRunError &e) {
        return TReferenceError{e.path(), e.cause()};
    }
    return std::nullopt;
}

} // namespace cli
