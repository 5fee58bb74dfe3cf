// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drive-root form of paths in the settings file: a path on the file
// system that holds the executable is stored with that file system's mount
// point replaced by "app_drive$", so settings follow the program when the
// whole volume is mounted elsewhere.

#include <QString>

namespace app {

// The mount point of the file system holding the executable, with a
// trailing "/".
QString AppDriveRoot();
// Replaces the drive root for this process (tests, or a program that embeds
// the window); an empty text restores the executable's.
void SetAppDriveRoot(const QString &root);

// "app_drive$" at the start (exactly so) becomes the drive root. In file
// mode a file that no longer exists comes back as its folder when that
// still exists; in folder mode a path that names nothing comes back empty.
QString ExpandAppDrive(const QString &s, bool fileMode);
// Only "app_drive$" at the start (exactly so) replaced: the path is kept
// even when it names nothing, so that a missing file can be reported.
QString ExpandAppDriveRoot(const QString &s);
// A path beginning with the drive root gets "app_drive$" instead.
QString CompressAppDrive(const QString &s);

} // namespace app
