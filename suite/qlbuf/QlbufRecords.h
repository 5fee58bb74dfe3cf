// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two fixed-size records the shared settings library hands out. Only
// the fields named here have a meaning the tools rely on; the other bytes
// travel unchanged.

#include <QString>
#include <QtEndian>
#include <array>
#include <cstdint>

// 192 bytes; the 32-bit text colour (0x00BBGGRR) sits at offset 120.
struct TColoursAndTypefaces {
    static constexpr int kSize = 192;
    static constexpr int kTextColourOffset = 120;
    std::array<uint8_t, kSize> bytes{};

    uint32_t TextColour() const {
        return qFromLittleEndian<uint32_t>(bytes.data() + kTextColourOffset);
    }
    void SetTextColour(uint32_t colour) {
        qToLittleEndian<uint32_t>(colour, bytes.data() + kTextColourOffset);
    }
};

// The screen typeface of the text settings: charset byte, size byte
// (points), then a name of 101 UTF-16 units, NUL-terminated.
struct TScreenTypeface {
    uint8_t charset = 0;
    uint8_t size = 0;
    QString name;
};

// 3028 bytes: a 32-bit value for the list loader at offset 4, the screen
// typeface at offset 330.
struct TTextSettings {
    static constexpr int kSize = 3028;
    static constexpr int kListLoaderValueOffset = 4;
    static constexpr int kScreenTypefaceOffset = 330;
    static constexpr int kTypefaceNameUnits = 101;
    std::array<uint8_t, kSize> bytes{};

    int32_t ListLoaderValue() const {
        return qFromLittleEndian<int32_t>(bytes.data() + kListLoaderValueOffset);
    }
    void SetListLoaderValue(int32_t value) {
        qToLittleEndian<int32_t>(value, bytes.data() + kListLoaderValueOffset);
    }

    TScreenTypeface ScreenTypeface() const {
        const uint8_t *p = bytes.data() + kScreenTypefaceOffset;
        TScreenTypeface face{p[0], p[1], QString()};
        for (int i = 0; i < kTypefaceNameUnits; ++i) {
            const char16_t unit = qFromLittleEndian<char16_t>(p + 2 + 2 * i);
            if (unit == 0)
                break;
            face.name += QChar(unit);
        }
        return face;
    }
    // A name longer than 100 units is cut so that the NUL always fits.
    void SetScreenTypeface(const TScreenTypeface &face) {
        uint8_t *p = bytes.data() + kScreenTypefaceOffset;
        p[0] = face.charset;
        p[1] = face.size;
        for (int i = 0; i < kTypefaceNameUnits; ++i) {
            const char16_t unit =
                i < kTypefaceNameUnits - 1 && i < face.name.size() ? face.name[i].unicode() : 0;
            qToLittleEndian<char16_t>(unit, p + 2 + 2 * i);
        }
    }
};
