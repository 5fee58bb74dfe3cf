// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replacing a file whole: the new content goes to a temporary file in the
// same folder, every write, the flush to disk and the close are checked, and
// only then is it renamed over the old file. On any failure the old file is
// left as it was and the temporary file is removed.
//
// A symbolic link is written through: the file it leads to is replaced, in
// that file's own folder, and the link stays a link. A target that exists
// and is not a regular file (a folder, a FIFO, a device) is refused, never
// replaced. A new file gets the mode the umask gives; a replaced file keeps
// its mode (and, where the system lets us, its owner and group).

#include <QByteArrayView>
#include <QString>

namespace platform {

// Empty on success; otherwise the cause, in the system's words ("No space
// left on device"), or "not a regular file".
QString WriteFileAtomically(const QString &path, QByteArrayView bytes);
// The same for a name given as its exact bytes (a name that is not UTF-8).
QString WriteFileAtomicallyAt(const QByteArray &nativePath, QByteArrayView bytes);

} // namespace platform
