// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a piece of a test in a child process whose writes fail the way they
// do on a full disk, to check that nothing is lost and the cause is named.

#include <QString>
#include <functional>
#include <optional>

enum class TDiskLimit {
    // `folder` becomes a small file system of its own (a tmpfs in a private
    // mount namespace), filled up before `body` runs: writes fail with ENOSPC.
    FullFolder,
    // The process may not grow any file past a few bytes: writes fail with
    // EFBIG. Needs no privileges.
    FileSizeLimit,
};

// Each limit with the cause the system gives for a write it stops.
struct TDiskLimitCase {
    TDiskLimit limit;
    const char *cause;
};
inline constexpr TDiskLimitCase kDiskLimitCases[] = {
    {TDiskLimit::FullFolder, "No space left on device"},
    {TDiskLimit::FileSizeLimit, "File too large"},
};

// What `body` returned in the child, or nothing when the limit cannot be
// set up here (FullFolder needs root or user namespaces). `prepare` runs in
// the child before the limit takes hold, to write the files that must
// survive.
std::optional<QString> RunWithDiskLimit(TDiskLimit limit, const QString &folder,
                                        const std::function<void()> &prepare,
                                        const std::function<QString()> &body);
