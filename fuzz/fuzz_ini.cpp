// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file reader and writer: any bytes read without a crash, and
// every value read (or made up) is written so that it reads back the same.

#include "FuzzSupport.h"
#include "TMemIniFile.h"

#include <cstdint>

namespace {

// Writes `ini` out as text and reads it back.
TMemIniFile RoundTrip(const TMemIniFile &ini) {
    TMemIniFile back(QStringLiteral("/nonexistent/back.ini"));
    back.SetText(ini.SectionLines().join(QStringLiteral("\r\n")));
    return back;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // 1. Any file: either refused with a cause, or read; what was read
    //    survives being written and read again.
    try {
        TMemIniFile ini(QStringLiteral("/nonexistent/x.ini"));
        ini.SetText(TMemIniFile::DecodeText(bytes));
        const TMemIniFile back = RoundTrip(ini);
        for (const QString &line : ini.SectionLines()) {
            if (!line.startsWith(QLatin1Char('[')) || !line.endsWith(QLatin1Char(']')))
                continue;
            const QString section = line.mid(1, line.size() - 2);
            const QStringList keys = ini.ReadSectionKeys(section);
            for (const QString &key : keys)
                if (!key.isEmpty())
                    FUZZ_CHECK(back.ReadString(section, key, QStringLiteral("\x01")) ==
                               ini.ReadString(section, key, QStringLiteral("\x01")));
        }
    } catch (const TIniFileError &e) {
        FUZZ_CHECK(!e.cause().isEmpty());
    }

    // 2. The input's code units as one value: it reads back exactly, and the
    //    file written holds nothing the reader refuses.
    QString value(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2);
    TMemIniFile ini(QStringLiteral("/nonexistent/y.ini"));
    ini.WriteString(QStringLiteral("s"), QStringLiteral("k"), value);
    FUZZ_CHECK(RoundTrip(ini).ReadString(QStringLiteral("s"), QStringLiteral("k"), QString()) ==
               value);
    QByteArray file;
    for (const QString &line : ini.SectionLines())
        for (QChar c : line + QStringLiteral("\r\n")) {
            file.append(char(c.unicode() & 0xFF));
            file.append(char(c.unicode() >> 8));
        }
    try {
        TMemIniFile::DecodeText(QByteArray("\xFF\xFE", 2) + file);
    } catch (const TIniFileError &) {
        FUZZ_CHECK(!"the writer made a file the reader refuses");
    }
    return 0;
}
