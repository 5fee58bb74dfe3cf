// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextPaneLoader.h"

#include "ByteOrderMark.h"
#include "File_utils.h"
#include "RunError.h"
#include "TextTables.h"
#include "Utf8Decoder.h"

#include <QFile>
#include <QLocale>

#include <cerrno>

namespace app {

TPaneText LoadPaneText(const QString &path, qsizetype maxUnits, engine::TDefaultEncoding encoding) {
    engine::TTextFile file;
    if (!file.Open(path))
        throw suite::TRunError(path, suite::ErrnoText(ENOENT));
    TPaneText pane;
    pane.text = file.ReadTextStart(encoding, maxUnits, pane.cut);
    return pane;
}

QString PaneCutNote(qsizetype shownUnits) {
    return QStringLiteral("[The text is cut here: only its first %1 characters are shown.]")
        .arg(QLocale().toString(shownUnits));
}

QString PaneAroundNote(int64_t firstByte) {
    return QStringLiteral("[Shown from byte %1 of the file: the text before it is left out.]")
        .arg(QLocale().toString(qlonglong(firstByte)));
}

namespace {

// How the bytes after the mark are text.
enum class TKind { Cp1252, Utf8, Utf16LE, Utf16BE };

struct TOpened {
    QFile file;
    TKind kind = TKind::Cp1252;
    int64_t markLength = 0;
};

void Fail(const QString &path, const QFile &f) {
    throw suite::TRunError(path, f.errorString());
}

QByteArray ReadRange(TOpened &o, const QString &path, int64_t from, int64_t to) {
    if (to <= from)
        return QByteArray();
    if (!o.file.seek(from))
        Fail(path, o.file);
    QByteArray bytes = o.file.read(to - from);
    if (bytes.isNull() && o.file.error() != QFileDevice::NoError)
        Fail(path, o.file);
    return bytes;
}

// The bytes as text the way the engine reads them (the same decoder, the
// same 8-bit table), so that a count of units here is a count in the pane.
// `nulAs` stands in for U+0000; a NUL when `nulAs` is 0 ends the text.
QString Decode(const QByteArray &bytes, TKind kind, char16_t nulAs) {
    QString out;
    const auto *p = reinterpret_cast<const uint8_t *>(bytes.constData());
    const size_t n = size_t(bytes.size());
    switch (kind) {
    case TKind::Cp1252:
        out.resize(qsizetype(n));
        for (size_t i = 0; i < n; ++i)
            out[qsizetype(i)] = QChar(engine::kCp1252[p[i]]);
        break;
    case TKind::Utf8: {
        out.resize(qsizetype(n) + 2);
        engine::Utf8Decoder d;
        auto *u = reinterpret_cast<char16_t *>(out.data());
        size_t m = d.Decode(p, n, u);
        m += d.Finish(u + m);
        out.truncate(qsizetype(m));
        break;
    }
    case TKind::Utf16LE:
    case TKind::Utf16BE:
        out.resize(qsizetype(n / 2));
        for (size_t i = 0; i + 1 < n; i += 2)
            out[qsizetype(i / 2)] = QChar(kind == TKind::Utf16LE ? char16_t(p[i] | p[i + 1] << 8)
                                                                 : char16_t(p[i] << 8 | p[i + 1]));
        break;
    }
    const qsizetype nul = out.indexOf(QChar(0));
    if (nul >= 0) {
        if (nulAs == 0)
            out.truncate(nul);
        else
            out.replace(QChar(0), QChar(nulAs));
    }
    return out;
}

TPanePlace PlaceAtEnd(const QString &text) {
    TPanePlace place;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        ++place.line;
        lineStart = i + 1;
    }
    place.column = text.size() - lineStart;
    return place;
}

} // namespace

TPaneTextAt LoadPaneTextAt(const QString &path, int64_t offset, engine::TDefaultEncoding encoding,
                           qsizetype maxUnits, int64_t aroundBytes) {
    engine::TTextFile probe;
    if (!probe.Open(path))
        throw suite::TRunError(path, suite::ErrnoText(ENOENT));
    TOpened o;
    o.file.setFileName(path);
    if (!o.file.open(QIODevice::ReadOnly))
        Fail(path, o.file);
    const int64_t size = o.file.size();
    const QByteArray head = ReadRange(o, path, 0, std::min<int64_t>(size, 4));
    const auto mark =
        platform::ByteOrderMarkOf(reinterpret_cast<const uint8_t *>(head.constData()), head.size());
    o.markLength = platform::ByteOrderMarkLength(mark);
    switch (mark) {
    case platform::TByteOrderMark::Utf8:
        o.kind = TKind::Utf8;
        break;
    case platform::TByteOrderMark::Utf16LE:
        o.kind = TKind::Utf16LE;
        break;
    case platform::TByteOrderMark::Utf16BE:
        o.kind = TKind::Utf16BE;
        break;
    case platform::TByteOrderMark::None:
        // Automatic decides on all of the file's bytes, as the pane did.
        o.kind = encoding == engine::TDefaultEncoding::Utf8 ||
                         (encoding == engine::TDefaultEncoding::Automatic &&
                          probe.Measure(encoding).kind == engine::TTextKind::Utf8)
                     ? TKind::Utf8
                     : TKind::Cp1252;
        break;
    }
    offset = std::clamp<int64_t>(offset, o.markLength, size);
    const bool wide = o.kind == TKind::Utf16LE || o.kind == TKind::Utf16BE;

    TPaneTextAt at;
    // Every encoding gives at most one unit a byte, so a short byte prefix
    // is within the pane's start.
    if (offset - o.markLength <= maxUnits) {
        const QByteArray before = ReadRange(o, path, o.markLength, offset);
        const QString text = Decode(before, o.kind, 0);
        if (text.size() == Decode(before, o.kind, 0x2400).size()) {
            at.pane = LoadPaneText(path, maxUnits, encoding);
            at.place = PlaceAtEnd(text);
            return at;
        }
    }

    // Around the byte: from the start of a line (or a whole unit) before it.
    int64_t from = std::max<int64_t>(o.markLength, offset - aroundBytes);
    if (wide) {
        from += (from - o.markLength) % 2;
    } else if (from > o.markLength) {
        const QByteArray lead = ReadRange(o, path, from, offset);
        const qsizetype lf = lead.indexOf('\n');
        if (lf >= 0)
            from += lf + 1;
    }
    const int64_t to = std::min(size, offset + aroundBytes);
    const QByteArray bytes = ReadRange(o, path, from, to);
    at.around = true;
    at.firstByte = from;
    at.pane.text = Decode(bytes, o.kind, 0x2400);
    at.pane.cut = to < size;
    at.place = PlaceAtEnd(Decode(bytes.left(offset - from), o.kind, 0x2400));
    return at;
}

} // namespace app
