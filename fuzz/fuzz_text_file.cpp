// SPDX-License-Identifier: GPL-3.0-or-later
// The text loader on a real file: the measure pass (size test figures and
// fast digraph counts) agrees with the text that loads, and the counting
// pass agrees with the measure pass. The reader and the counters are made
// once and reused from input to input, as a checker reuses them from file
// to file: their buffers and tables are large, and what one file leaves in
// them must not change the next file's figures.

#include "DigraphCounter.h"
#include "FuzzSupport.h"
#include "TextFile.h"

#include <cstdint>

namespace {

void SameCounts(const engine::TPairCounts &a, const engine::TPairCounts &b) {
    FUZZ_CHECK(a.Total() == b.Total());
    FUZZ_CHECK(a.Distinct() == b.Distinct());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = ScratchFile(bytes);
    static engine::TTextFile file;
    static engine::TByteDigraphCounter byteCounter;
    static engine::TWideDigraphCounter wideCounter;
    static engine::TPairCounts measured, fast;
    // Each pass reads the file from its start, so one opening serves all.
    FUZZ_CHECK(file.Open(path));
    FUZZ_CHECK(file.Size() == int64_t(size));
    for (auto encoding : {engine::TDefaultEncoding::Windows1252, engine::TDefaultEncoding::Utf8}) {
        measured.Clear();
        const engine::TFileMeasure m = file.Measure(encoding, {nullptr, nullptr, &measured});
        // The loaded text, before its lines are joined with CR LF, has the
        // measured length: count its units back from the joined form.
        const QString text = file.ReadText(encoding);
        qsizetype raw = 0;
        for (qsizetype i = 0; i < text.size(); ++i)
            if (!(text.at(i) == QLatin1Char('\r') && i + 1 < text.size() &&
                  text.at(i + 1) == QLatin1Char('\n')))
                ++raw;
        FUZZ_CHECK(raw <= m.length + 1 && 2 * raw >= m.length);
        FUZZ_CHECK(text.isEmpty() == (m.length == 0));

        // A second pass counts the same digraphs, through the fast counters.
        fast.Clear();
        file.Count(m, {&byteCounter, &wideCounter, &fast});
        byteCounter.FlushInto(fast);
        if (!wideCounter.Overflowed()) {
            wideCounter.FlushInto(fast);
            SameCounts(fast, measured);
        } else {
            wideCounter.Reset();
        }
    }
    return 0;
}
