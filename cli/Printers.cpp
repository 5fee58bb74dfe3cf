// SPDX-License-Identifier: GPL-3.0-or-later
#include "Printers.h"

#include "FileNames.h"
#include "PathEscape.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace cli {

bool TLineWriter::Line(const QByteArray &line) {
    if (fClosed)
        return false;
    fBuffer += line;
    if (fBuffer.size() >= 64 * 1024)
        return Flush();
    return true;
}

bool TLineWriter::Flush() {
    qsizetype done = 0;
    while (!fClosed && done < fBuffer.size()) {
        const ssize_t n = ::write(fFd, fBuffer.constData() + done, size_t(fBuffer.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fClosed = true;
            fError = errno;
            break;
        }
        done += n;
    }
    fBuffer.clear();
    return !fClosed;
}

QByteArray JsonString(const QString &s) {
    QByteArray out = "\"";
    for (const char c : s.toUtf8()) {
        const unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", u);
                out += esc;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

QByteArray JsonLine(const QString &path, const engine::TVerdict &verdict) {
    QByteArray line = '{' + JsonPathFields(path) + ",\"reason\":" + JsonString(verdict.reason);
    if (verdict.test == engine::TSuspectTest::Size) {
        line +=
            ",\"test\":\"size\",\"file_size\":" + QByteArray::number(qlonglong(verdict.file_size)) +
            ",\"text_length\":" + QByteArray::number(qlonglong(verdict.text_length));
    } else {
        char fraction[32];
        std::snprintf(fraction, sizeof fraction, "%.9g", double(verdict.fail_fraction));
        line += ",\"test\":\"digraph\",\"fail_fraction\":" + QByteArray(fraction) +
                ",\"too_many\":" + JsonString(verdict.too_many) +
                ",\"too_few\":" + JsonString(verdict.too_few);
    }
    line += "}\n";
    return line;
}

QByteArray JsonPathFields(const QString &path) {
    QByteArray out = "\"path\":" + JsonString(suite::DisplayFileName(path));
    if (suite::HasEscapedBytes(path))
        out += ",\"path_bytes\":\"" + suite::EncodeFileName(path).toBase64() + '"';
    return out;
}

} // namespace cli
