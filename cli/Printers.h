#pragma once
// Output of brindle-scan: whole lines to standard output, written in large
// blocks. A closed pipe is not an error: Write() then answers false and the
// program ends quietly.

#include "FileCheck.h"

#include <QByteArray>
#include <QString>

namespace cli {

class TLineWriter {
public:
    explicit TLineWriter(int fd) : fFd(fd) {}
    ~TLineWriter() { Flush(); }
    // Appends one whole line (with its LF). False once the reader has gone.
    bool Line(const QByteArray &line);
    bool Flush();
    bool Closed() const { return fClosed; }

private:
    int fFd;
    QByteArray fBuffer;
    bool fClosed = false;
};

QByteArray TsvLine(const QString &path, const engine::TVerdict &verdict);
QByteArray JsonLine(const QString &path, const engine::TVerdict &verdict);
QByteArray JsonString(const QString &s);

} // namespace cli
