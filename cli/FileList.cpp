// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileList.h"

#include "FileNames.h"
#include "File_utils.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace cli {

QString ReadFileList(const QString &name, bool nulSeparated, QStringList &files,
                     const std::function<void(qsizetype line)> &onNulInLine) {
    QFile list;
    const bool fromStdin = name == QLatin1String("-");
    const int fd = fromStdin
                       ? STDIN_FILENO
                       : ::open(suite::EncodeFileName(name).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return suite::ErrnoText(errno);
    if (!list.open(fd, QIODevice::ReadOnly,
                   fromStdin ? QFileDevice::DontCloseHandle : QFileDevice::AutoCloseHandle)) {
        if (!fromStdin)
            ::close(fd);
        return list.errorString();
    }
    if (nulSeparated) {
        // Read to the end (a pipe's writer may be slow), then cut at NULs.
        const QByteArray all = list.readAll();
        if (list.error() != QFileDevice::NoError)
            return list.errorString();
        for (qsizetype start = 0; start < all.size();) {
            qsizetype end = all.indexOf('\0', start);
            if (end < 0)
                end = all.size(); // the last path may lack its NUL
            if (end > start)
                files << suite::DecodeFileName(QByteArrayView(all).sliced(start, end - start));
            start = end + 1;
        }
        return {};
    }
    // readLine() waits for a pipe's next line; only the end gives nothing.
    qsizetype number = 0;
    for (QByteArray line; !(line = list.readLine()).isEmpty();) {
        ++number;
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        // Cut at the NUL, it would name another file than the line does.
        if (line.contains('\0'))
            onNulInLine(number);
        else if (!line.isEmpty())
            files << suite::DecodeFileName(line);
    }
    if (list.error() != QFileDevice::NoError)
        return list.errorString();
    return {};
}

namespace {

QByteArray EscapeControlBytes(const QByteArray &bytes) {
    QByteArray out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            out += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
        else
            out += c;
    }
    return out;
}

} // namespace

bool WriteFileList(engine::TFileSource &source, TLineWriter &out, bool nulSeparated, bool terminal,
                   const std::function<void(const QString &path)> &onUnlistable) {
    for (engine::TSourceFile file; source.Next(file);) {
        const QString &path = file.path;
        QByteArray line = suite::EncodeFileName(path);
        if (!nulSeparated && line.contains('\n')) {
            out.Flush(); // keep stderr lines in step with stdout
            onUnlistable(path);
            continue;
        }
        if (terminal)
            line = EscapeControlBytes(line);
        line += nulSeparated ? '\0' : '\n';
        if (!out.Line(line))
            return false;
    }
    return out.Flush();
}

} // namespace cli
