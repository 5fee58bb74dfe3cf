// SPDX-License-Identifier: GPL-3.0-or-later
// The word-list loader on any file: a list that loads has only whole,
// trimmed, non-empty entries, and loading it again gives the same list.

#include "FuzzSupport.h"
#include "lemmatiser.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString path =
        ScratchFile(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const auto load = [&] {
        return LoadedOne(18, reinterpret_cast<const char16_t *>(path.utf16()), 0, {}, {}, 0, 0, 0);
    };
    ClearOne(18, 0);
    if ((load() & 0xFFFF) == 0) {
        FUZZ_CHECK(LoadedEntries(18, 0).isEmpty());
        return 0;
    }
    const QStringList entries = LoadedEntries(18, 0);
    for (const QString &e : entries) {
        FUZZ_CHECK(!e.isEmpty());
        FUZZ_CHECK(e == e.trimmed());
        FUZZ_CHECK(!e.contains(QLatin1Char('\n')));
    }
    FUZZ_CHECK((load() & 0xFFFF) != 0);
    FUZZ_CHECK(LoadedEntries(18, 0) == entries);
    return 0;
}
