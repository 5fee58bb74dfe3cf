// SPDX-License-Identifier: GPL-3.0-or-later
// brindle-scan's option parser on any argument list (NUL-separated in the
// input): it gives options or an error, never both nor neither, and the
// options it gives are in range.

#include "FuzzSupport.h"
#include "ScanOptions.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QStringList args;
    for (const QByteArray &arg :
         QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0'))
        args.append(QString::fromUtf8(arg));
    const cli::TParseResult result = cli::ParseScanOptions(args);
    FUZZ_CHECK(result.options.has_value() == result.error.isEmpty());
    if (result.options) {
        FUZZ_CHECK(result.options->jobs >= 0);
        FUZZ_CHECK(result.options->freqVariation >= 0 && result.options->failPercent >= 0);
    }
    // The same arguments parse the same way.
    const cli::TParseResult again = cli::ParseScanOptions(args);
    FUZZ_CHECK(again.error == result.error);
    return 0;
}
