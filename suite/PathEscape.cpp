// SPDX-License-Identifier: GPL-3.0-or-later
#include "PathEscape.h"

#include "FileNames.h"

namespace suite {

QByteArray TsvPath(const QString &path) {
    QByteArray out;
    out.reserve(path.size() + 8);
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > runStart)
            out += suite::EncodeFileName(path.mid(runStart, end - runStart));
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t u = path.at(i).unicode();
        const char *escape = nullptr;
        switch (u) {
        case u'\\':
            escape = "\\\\";
            break;
        case u'\t':
            escape = "\\t";
            break;
        case u'\n':
            escape = "\\n";
            break;
        case u'\r':
            escape = "\\r";
            break;
        default:
            break;
        }
        // A lone U+DC80-U+DCFF is an escaped byte; one inside a pair is not.
        const bool rawByte =
            (u >= 0xDC80 && u <= 0xDCFF && !(i > 0 && path.at(i - 1).isHighSurrogate())) ||
            u < 0x20 || u == 0x7F;
        if (!escape && !rawByte)
            continue;
        flush(i);
        runStart = i + 1;
        if (escape) {
            out += escape;
        } else {
            static const char hex[] = "0123456789abcdef";
            const unsigned byte = u < 0x80 ? u : u - 0xDC00;
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 15];
        }
    }
    flush(path.size());
    return out;
}

QByteArray TsvText(const QString &text) {
    return TsvPath(text);
}

QByteArray UnescapeTsvPath(const QByteArray &field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c != '\\' || i + 1 >= field.size()) {
            out += c;
            continue;
        }
        const char e = field.at(++i);
        if (e == 't')
            out += '\t';
        else if (e == 'n')
            out += '\n';
        else if (e == 'r')
            out += '\r';
        else if (e == 'x' && i + 2 < field.size()) {
            out += char(field.mid(i + 1, 2).toUInt(nullptr, 16));
            i += 2;
        } else
            out += e;
    }
    return out;
}

} // namespace suite
