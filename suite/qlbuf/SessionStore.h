// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The session half of the shared settings: small files in the user's
// private runtime folder, gone when the user's session ends.
//
// Each file is replaced whole (temporary file + rename), so a reader in
// another process sees either the old or the new content, never half.
// Windows are stored with the process that owns them, so a window whose
// process has died (a crash leaves its entry behind) reads as absent.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace qlbuf {

struct TWindowEntry {
    uint32_t handle = 0;
    int64_t pid = 0;
};

// Empty when the folder cannot be made private.
QString SessionFolder();

// Empty when missing or unreadable.
QByteArray ReadSessionFile(const QString &name);
// False when the file cannot be written; the old file then stays, and the
// cause is in `cause` when given and on standard error.
bool WriteSessionFile(const QString &name, const QByteArray &bytes, QString *cause = nullptr);
void RemoveSessionFile(const QString &name);

// Runs `change` on the file's window entries and writes the result back,
// under a lock shared with every process of the user.
void UpdateWindowEntries(const QString &name,
                         const std::function<void(std::vector<TWindowEntry> &)> &change);
// Only entries whose process is still alive.
std::vector<TWindowEntry> LiveWindowEntries(const QString &name);

} // namespace qlbuf
