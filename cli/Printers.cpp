// SPDX-License-Identifier: GPL-3.0-or-later
#include "Printers.h"

#include "FileNames.h"
#include "PathEscape.h"
#include "SuspectLine.h"

#include <cerrno>
#include <charconv>
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

namespace {

// std::to_chars formats as the "C" locale does, whatever the user's.
template <typename T, typename... TFormat> QByteArray ToChars(T value, TFormat... format) {
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, format...);
    return ec == std::errc() ? QByteArray(text, end - text) : QByteArray("0");
}

QLatin1StringView TestName(engine::TSuspectTest test) {
    switch (test) {
    case engine::TSuspectTest::Size:
        return QLatin1StringView("size");
    case engine::TSuspectTest::Digraph:
        return QLatin1StringView("digraph");
    case engine::TSuspectTest::Damage:
        return QLatin1StringView("damage");
    case engine::TSuspectTest::TooShort:
        return QLatin1StringView("too-short");
    }
    return QLatin1StringView("size");
}

QByteArray Status(bool tooShort) {
    return tooShort ? "too-short" : "suspect";
}

// The verdict's code; a size or digraph verdict made without one is named
// by its test.
QByteArray Code(const engine::TVerdict &v) {
    return (v.code.isEmpty() ? QString(TestName(v.test)) : v.code).toUtf8();
}

QByteArray PairsJson(const std::vector<engine::TPairDeviation> &pairs) {
    QByteArray out = "[";
    for (const engine::TPairDeviation &p : pairs) {
        if (out.size() > 1)
            out += ',';
        out += "{\"pair\":" + JsonString(p.pair) + ",\"file\":" + Figure(p.file) +
               ",\"reference\":" + Figure(p.reference) + '}';
    }
    return out + ']';
}

QByteArray DefaultJsonFields(const engine::TVerdict &verdict) {
    if (verdict.test == engine::TSuspectTest::Size)
        return ",\"test\":\"size\",\"file_size\":" +
               QByteArray::number(qlonglong(verdict.file_size)) +
               ",\"text_length\":" + QByteArray::number(qlonglong(verdict.text_length));
    // As "%.9g" always wrote it: nine significant digits.
    return ",\"test\":\"digraph\",\"fail_fraction\":" +
           ToChars(double(verdict.fail_fraction), std::chars_format::general, 9) +
           ",\"too_many\":" + JsonString(verdict.too_many) +
           ",\"too_few\":" + JsonString(verdict.too_few);
}

QByteArray ExtendedJsonFields(const engine::TVerdict &v, bool tooShort) {
    QByteArray out = ",\"status\":\"" + Status(tooShort) + "\",\"test\":\"" +
                     QByteArray(TestName(v.test).data(), TestName(v.test).size()) +
                     "\",\"code\":" + JsonString(QString::fromUtf8(Code(v)));
    if (v.offset >= 0)
        out += ",\"offset\":" + QByteArray::number(qlonglong(v.offset));
    if (v.test == engine::TSuspectTest::Size)
        out += ",\"file_size\":" + QByteArray::number(qlonglong(v.file_size)) +
               ",\"text_length\":" + QByteArray::number(qlonglong(v.text_length));
    if (!v.set.isEmpty())
        out += ",\"set\":" + JsonString(v.set);
    if (v.score >= 0)
        out += ",\"score\":" + Figure(v.score);
    if (v.cut >= 0)
        out += ",\"cut\":" + Figure(v.cut);
    if (v.test == engine::TSuspectTest::Digraph || v.test == engine::TSuspectTest::TooShort ||
        !v.set.isEmpty())
        out += ",\"digraphs\":" + QByteArray::number(qlonglong(v.digraphs));
    if (v.test == engine::TSuspectTest::Digraph)
        out += ",\"fail_fraction\":" +
               ToChars(double(v.fail_fraction), std::chars_format::general, 9) +
               ",\"too_many\":" + PairsJson(v.too_many_pairs) +
               ",\"too_few\":" + PairsJson(v.too_few_pairs);
    return out;
}

} // namespace

QByteArray Figure(double value) {
    return ToChars(value);
}

QByteArray Figure(float value) {
    return ToChars(value);
}

QByteArray JsonLine(const QString &path, const engine::TVerdict &verdict, bool extended,
                    bool tooShort) {
    return '{' + JsonPathFields(path) + ",\"reason\":" + JsonString(verdict.reason) +
           (extended ? ExtendedJsonFields(verdict, tooShort) : DefaultJsonFields(verdict)) + "}\n";
}

QByteArray TsvLine(const QString &path, const engine::TVerdict &verdict, bool extended,
                   bool tooShort) {
    QByteArray line = engine::SuspectLine(path, verdict);
    if (!extended)
        return line;
    // After the reason, so that a reader of the two default columns still
    // finds them: status, code, offset, set, score; empty when not known.
    line.chop(1);
    line += '\t' + Status(tooShort) + '\t' + Code(verdict) + '\t';
    if (verdict.offset >= 0)
        line += QByteArray::number(qlonglong(verdict.offset));
    line += '\t' + suite::TsvText(verdict.set) + '\t';
    if (verdict.score >= 0)
        line += Figure(verdict.score);
    return line + '\n';
}

QByteArray JsonPathFields(const QString &path) {
    QByteArray out = "\"path\":" + JsonString(suite::DisplayFileName(path));
    if (suite::HasEscapedBytes(path))
        out += ",\"path_bytes\":\"" + suite::EncodeFileName(path).toBase64() + '"';
    return out;
}

} // namespace cli
