// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionStore.h"

#include "AtomicFile.h"
#include "PrivateFolder.h"

#include <QFile>
#include <QLockFile>

#include <csignal>
#include <sys/types.h>

namespace qlbuf {

namespace {

QString PathOf(const QString &name) {
    const QString folder = SessionFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

bool Alive(int64_t pid) {
    return pid > 0 && ::kill(pid_t(pid), 0) == 0;
}

std::vector<TWindowEntry> ParseEntries(const QByteArray &text) {
    std::vector<TWindowEntry> entries;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() != 2)
            continue;
        bool okHandle = false, okPid = false;
        const uint32_t handle = fields[0].toUInt(&okHandle);
        const qint64 pid = fields[1].toLongLong(&okPid);
        if (okHandle && okPid && handle != 0)
            entries.push_back({handle, pid});
    }
    return entries;
}

QByteArray FormatEntries(const std::vector<TWindowEntry> &entries) {
    QByteArray text;
    for (const TWindowEntry &e : entries)
        text += QByteArray::number(e.handle) + ' ' + QByteArray::number(qint64(e.pid)) + '\n';
    return text;
}

} // namespace

QString SessionFolder() {
    return platform::PrivateRuntimeFolder(QStringLiteral("session"));
}

QByteArray ReadSessionFile(const QString &name) {
    QFile file(PathOf(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteSessionFile(const QString &name, const QByteArray &bytes, QString *cause) {
    const QString path = PathOf(name);
    const QString error = path.isEmpty()
                              ? QStringLiteral("the private runtime folder cannot be made")
                              : platform::WriteFileAtomically(path, bytes);
    if (cause)
        *cause = error;
    if (error.isEmpty())
        return true;
    qWarning("%s: %s", qPrintable(path.isEmpty() ? name : path), qPrintable(error));
    return false;
}

void RemoveSessionFile(const QString &name) {
    const QString path = PathOf(name);
    if (!path.isEmpty())
        QFile::remove(path);
}

void UpdateWindowEntries(const QString &name,
                         const std::function<void(std::vector<TWindowEntry> &)> &change) {
    const QString path = PathOf(name);
    if (path.isEmpty())
        return;
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.lock())
        return;
    std::vector<TWindowEntry> entries = ParseEntries(ReadSessionFile(name));
    std::erase_if(entries, [](const TWindowEntry &e) { return !Alive(e.pid); });
    change(entries);
    WriteSessionFile(name, FormatEntries(entries));
}

std::vector<TWindowEntry> LiveWindowEntries(const QString &name) {
    std::vector<TWindowEntry> entries = ParseEntries(ReadSessionFile(name));
    std::erase_if(entries, [](const TWindowEntry &e) { return !Alive(e.pid); });
    return entries;
}

} // namespace qlbuf
