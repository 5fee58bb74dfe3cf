// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileNames.h"

#include "Utf8Lead.h"

namespace suite {

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // + byte (0x80-0xFF) -> U+DC80-U+DCFF
constexpr char16_t kReplacement = 0xFFFD;

bool IsHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}
bool IsCont(uint8_t b) {
    return (b & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence starting at p[0] (a byte >= 0x80),
// or 0 when it is not one; `cp` gets its code point.
int SequenceAt(const uint8_t *p, qsizetype left, char32_t &cp) {
    const TUtf8Lead lead = Utf8Lead(p[0]);
    if (lead.continuations == 0 || left <= lead.continuations || p[1] < lead.lower ||
        p[1] > lead.upper)
        return 0;
    char32_t value = lead.payload;
    for (int k = 1; k <= lead.continuations; ++k) {
        if (!IsCont(p[k]))
            return 0;
        value = value << 6 | (p[k] & 0x3F);
    }
    cp = value;
    return lead.continuations + 1;
}

void AppendUtf8(QByteArray &out, char32_t cp) {
    if (cp < 0x80) {
        out.append(char(cp));
    } else if (cp < 0x800) {
        out.append(char(0xC0 | (cp >> 6)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.append(char(0xE0 | (cp >> 12)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else {
        out.append(char(0xF0 | (cp >> 18)));
        out.append(char(0x80 | ((cp >> 12) & 0x3F)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    }
}

} // namespace

QString DecodeFileName(QByteArrayView bytes) {
    const auto *p = reinterpret_cast<const uint8_t *>(bytes.data());
    const qsizetype n = bytes.size();
    QString out(n, Qt::Uninitialized); // never more units than bytes
    char16_t *o = reinterpret_cast<char16_t *>(out.data());
    qsizetype k = 0;
    for (qsizetype i = 0; i < n;) {
        const uint8_t b = p[i];
        if (b < 0x80) {
            o[k++] = b;
            ++i;
            continue;
        }
        char32_t cp = 0;
        const int len = SequenceAt(p + i, n - i, cp);
        if (len == 0) {
            o[k++] = char16_t(kEscapeBase + b);
            ++i;
        } else if (cp >= 0x10000) {
            o[k++] = char16_t(0xD800 + ((cp - 0x10000) >> 10));
            o[k++] = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
            i += len;
        } else {
            o[k++] = char16_t(cp);
            i += len;
        }
    }
    out.truncate(k);
    return out;
}

QByteArray EncodeFileName(const QString &name) {
    const char16_t *p = reinterpret_cast<const char16_t *>(name.constData());
    const qsizetype n = name.size();
    QByteArray out;
    out.reserve(n * 3);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = p[i];
        if (u < 0x80) {
            out.append(char(u));
        } else if (IsHigh(u) && i + 1 < n && IsLow(p[i + 1])) {
            AppendUtf8(out, 0x10000 + (char32_t(u - 0xD800) << 10) + (p[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xDC80 && u <= 0xDCFF) {
            out.append(char(u - kEscapeBase));
        } else if (IsHigh(u) || IsLow(u)) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

QString DisplayFileName(const QString &name) {
    if (!HasEscapedBytes(name))
        return name;
    QString out = name;
    char16_t *p = reinterpret_cast<char16_t *>(out.data());
    const qsizetype n = out.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (IsHigh(p[i]) && i + 1 < n && IsLow(p[i + 1]))
            ++i;
        else if (IsHigh(p[i]) || IsLow(p[i]))
            p[i] = kReplacement;
    }
    return out;
}

bool HasEscapedBytes(const QString &name) {
    const char16_t *p = reinterpret_cast<const char16_t *>(name.constData());
    const qsizetype n = name.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (IsHigh(p[i]) && i + 1 < n && IsLow(p[i + 1]))
            ++i;
        else if (IsHigh(p[i]) || IsLow(p[i]))
            return true;
    }
    return false;
}

} // namespace suite
