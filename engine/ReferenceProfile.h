#pragma once
// Building the reference profile from the known-good files: their digraphs
// counted together, in file order, as one profile.

#include "DigraphProfile.h"
#include "FileCheck.h"

#include <QString>
#include <QStringList>

namespace engine {

struct TReferenceBuild {
    enum class Status { Ok, Missing, NoDigraphs };
    Status status = Status::NoDigraphs;
    // The first file that does not exist (or is not a regular file); the
    // files after it are not looked at.
    QString missing;
    TDigraphProfile profile;
};

// Throws suite::TRunError when a reference cannot be read, or when its
// profile cannot be made (the tree's depth error; the "file" is then the
// list of references joined by ", ").
TReferenceBuild BuildReferenceProfile(const QStringList &files, TDefaultEncoding encoding,
                                      int32_t minDigraphs, TFileChecker &checker);

} // namespace engine
