// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextTables.h"

#include <QChar>
#include <algorithm>
#include <memory>
#include <vector>

namespace engine {

const char16_t kCp1252[256] = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x0008, 0x0009, 0x000A, 0x000B,
    0x000C, 0x000D, 0x000E, 0x000F, 0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017,
    0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F, 0x0020, 0x0021, 0x0022, 0x0023,
    0x0024, 0x0025, 0x0026, 0x0027, 0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B,
    0x003C, 0x003D, 0x003E, 0x003F, 0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F, 0x0050, 0x0051, 0x0052, 0x0053,
    0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067, 0x0068, 0x0069, 0x006A, 0x006B,
    0x006C, 0x006D, 0x006E, 0x006F, 0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F,
    // 0x80..0x9F
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
    0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    // 0xA0..0xFF: Latin-1
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0, 0x00C1, 0x00C2, 0x00C3,
    0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB,
    0x00DC, 0x00DD, 0x00DE, 0x00DF, 0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3,
    0x00F4, 0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF};

namespace {

bool IsLetterCategory(QChar::Category c) {
    return c == QChar::Letter_Uppercase || c == QChar::Letter_Lowercase ||
           c == QChar::Letter_Titlecase || c == QChar::Letter_Modifier || c == QChar::Letter_Other;
}

std::unique_ptr<TextTables> Build() {
    auto t = std::make_unique<TextTables>();
    for (uint32_t u = 0; u < 65536; ++u) {
        const QChar c(static_cast<char16_t>(u));
        const char16_t up = c.isSurrogate() ? char16_t(u) : c.toUpper().unicode();
        t->upper[u] = up;
        const QChar upc(up);
        uint8_t k = kOther;
        if (up == 0x20)
            k = kSpace;
        else if (!upc.isSurrogate() && IsLetterCategory(upc.category()))
            k = kLetter;
        t->klass[u] = k;
    }
    t->idUnit[kOtherId] = 0;
    t->idUnit[kSpaceId] = 0x20;
    t->idUnit[kCrId] = u'\r';
    t->idUnit[kLfId] = u'\n';
    std::vector<char16_t> letters;
    for (int b = 0; b < 256; ++b) {
        const char16_t up = t->upper[kCp1252[b]];
        t->byteUpper[b] = up;
        if (t->klass[up] == kLetter)
            letters.push_back(up);
    }
    std::sort(letters.begin(), letters.end());
    letters.erase(std::unique(letters.begin(), letters.end()), letters.end());
    int next = kFirstLetterId;
    for (char16_t up : letters)
        t->idUnit[next++] = up;
    for (int b = 0; b < 256; ++b) {
        const char16_t up = t->byteUpper[b];
        const uint8_t k = t->klass[up];
        TPairId id = k == kSpace ? kSpaceId : up == u'\r' ? kCrId : up == u'\n' ? kLfId : kOtherId;
        if (b == '\t' || b == '\v' || b == '\f')
            id = kBlankId;
        else if (b > 0 && b < 0x20 && id == kOtherId)
            id = kControlId;
        else if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            id = kUndefinedId;
        else if (b >= 0x80 && id == kOtherId)
            id = b >= 0xC2 && b <= 0xF4 ? kHighSignId : kHighOtherId;
        if (k == kLetter)
            id = TPairId(std::lower_bound(letters.begin(), letters.end(), up) - letters.begin() +
                         kFirstLetterId);
        t->byteId[b] = id;
    }
    t->byteIdCount = next;
    t->asciiIdCount = kFirstLetterId;
    for (int b = 0; b < 0x80; ++b)
        t->asciiIdCount = std::max(t->asciiIdCount, t->byteId[b] + 1);
    // Every letter above ASCII upper-cases to a unit above ASCII, so no id
    // holds bytes of both sides; and no id holds both a UTF-8 lead byte and
    // a continuation byte (Š and š are both of the latter, Ÿ and ÿ of
    // neither's other kind).
    bool lead[256] = {}, cont[256] = {};
    for (int b = 0x80; b < 0x100; ++b) {
        t->highId[t->byteId[b]] = true;
        lead[t->byteId[b]] |= b >= 0xC2 && b <= 0xF4;
        cont[t->byteId[b]] |= b <= 0xBF;
    }
    for (int b = 0; b < 0x80; ++b)
        if (t->highId[t->byteId[b]])
            qFatal("byte %d shares a pair id with a byte above ASCII", b);
    for (int id = 0; id < next; ++id)
        if (lead[id] && cont[id])
            qFatal("pair id %d holds a UTF-8 lead byte and a continuation byte", id);
    return t;
}

} // namespace

const TextTables &Tables() {
    static const std::unique_ptr<TextTables> tables = Build();
    return *tables;
}

} // namespace engine
