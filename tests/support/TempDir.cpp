// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

TempDir::TempDir() {
    EXPECT_TRUE(fDir.isValid());
}

QString TempDir::write(const QString &relative, const QByteArray &bytes) const {
    const QString full = fDir.filePath(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << full.toStdString();
    f.write(bytes);
    return full;
}

QByteArray Utf16LeWithMark(const QString &text) {
    QByteArray out("\xFF\xFE", 2);
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QByteArray Utf16BeWithMark(const QString &text) {
    QByteArray out("\xFE\xFF", 2);
    for (QChar c : text) {
        out.append(char(c.unicode() >> 8));
        out.append(char(c.unicode() & 0xFF));
    }
    return out;
}

void WriteFileBytes(const QByteArray &path, const QByteArray &bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0) << path.toStdString();
    ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    ::close(fd);
}

QStringList ReadLines(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.pop_back();
    return lines;
}
