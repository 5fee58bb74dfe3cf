#pragma once
// File tests of the suite's runtime.
//
// Sizes are 64-bit: a 32-bit size would misjudge every file of 2 GiB or more.

#include <QString>
#include <cstdint>

namespace suite {

// True when `path` names a regular file (links followed). FIFOs, devices and
// sockets answer false: opening one could block a run forever.
bool RegularFileExists(const QString &path);

// The file's size in bytes. Throws TRunError naming the file and the cause.
int64_t FileSize(const QString &path);

// True exactly when the file begins with a UTF-16 byte-order mark (FF FE or
// FE FF). Throws TRunError when the file cannot be read.
bool TextFileInUnicode(const QString &path);

// For a path too long for one system call (ENAMETOOLONG): opens the folder
// holding its last name one step at a time and returns that folder's
// descriptor (the caller closes it), with `leaf` set to the last name; -1 with
// errno set on failure. `path` is a name's exact bytes.
int OpenParentStepwise(const QByteArray &path, QByteArray &leaf);

// The system's text for an errno value, e.g. "Permission denied".
QString ErrnoText(int err);

// Exists checks that never raise: false for a missing file or folder, or one
// on a mount that cannot be reached.
bool DriveAndFileExist(const QString &path);
bool DriveAndFolderExist(const QString &path);

} // namespace suite
