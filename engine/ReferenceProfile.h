// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Building the reference profile from the known-good files: their digraphs
// counted together, in file order, as one profile.

#include "DigraphProfile.h"
#include "FileCheck.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace engine {

struct TReferenceBuild {
    // NotText: a reference fails the size test itself (binary data, text cut
    // at a NUL), so it is no known-good text and would skew every verdict.
    enum class Status { Ok, Missing, NoDigraphs, NotText };
    Status status = Status::NoDigraphs;
    // The first file that does not exist (or is not a regular file); the
    // files after it are not looked at.
    QString missing;
    // The first file that fails the size test, with its figures.
    QString notText;
    int64_t fileSize = 0;
    int64_t textLength = 0;
    TDigraphProfile profile;
};

// Why a reference that fails the size test cannot be used, with its figures.
QString NotTextCause(int64_t fileSize, int64_t textLength);

// A reference that cannot be used: the file at fault and why.
struct TReferenceError {
    QString path;
    QString cause;
};

// Why `build` of `files` gave no profile, naming the file at fault; nothing
// when it did. `checker` is the one that built it (its last look was at a
// missing file).
std::optional<TReferenceError> ReferenceBuildError(const TReferenceBuild &build,
                                                   const QStringList &files,
                                                   const TFileChecker &checker);

// Throws suite::TRunError when a reference cannot be read, or when its
// profile cannot be made (the tree's depth error; the "file" is then the
// list of references joined by ", ").
TReferenceBuild BuildReferenceProfile(const QStringList &files, TDefaultEncoding encoding,
                                      int32_t minDigraphs, TFileChecker &checker);

} // namespace engine
