// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File tests of the suite's runtime.
//
// Sizes are 64-bit: a 32-bit size would misjudge every file of 2 GiB or more.

#include <QByteArray>
#include <QList>
#include <QString>

namespace suite {

// For a path too long for one system call (ENAMETOOLONG): opens the folder
// holding its last name one step at a time and returns that folder's
// descriptor (the caller closes it), with `leaf` set to the last name; -1 with
// errno set on failure. `path` is a name's exact bytes.
int OpenParentStepwise(const QByteArray &path, QByteArray &leaf);

// Opens the folders `steps` one below the other, starting from the folder
// open on `from` (which it closes), so that no path is ever too long; the
// last one's descriptor, or -1 with errno set. Empty steps are skipped. A
// step that is a symbolic link is followed only with `followLinks`.
int OpenFolderStepwise(int from, const QList<QByteArray> &steps, bool followLinks);

// The system's text for an errno value, e.g. "Permission denied".
QString ErrnoText(int err);

// Exists checks that never raise: false for a missing file or folder, or one
// on a mount that cannot be reached. A file must be a regular file (links
// followed): FIFOs, devices and sockets answer false, since opening one
// could block a run forever.
bool DriveAndFileExist(const QString &path);
bool DriveAndFolderExist(const QString &path);

} // namespace suite
