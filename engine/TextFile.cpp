// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFile.h"

#include "ByteOrderMark.h"
#include "FeatureCounters.h"
#include "FileNames.h"
#include "File_utils.h"
#include "Mykpsmall.h"
#include "RunError.h"
#include "TextTables.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

TTextFile::~TTextFile() {
    Close();
}

void TTextFile::Close() {
    if (fFd >= 0)
        ::close(fFd);
    fFd = -1;
    fWholeInBuffer = false;
}

bool TTextFile::NotRegular() {
    fOpenError = 0;
    return false;
}

bool TTextFile::Open(const QString &path, bool seenRegular) {
    Close();
    fPath = path;
    fOpenError = ENOENT;
    const QByteArray native = suite::EncodeFileName(path);
    if (native.isEmpty())
        return false;
    struct stat st;
    // Non-blocking: a FIFO put in the file's place since it was looked at
    // must not hang the run; it is refused below.
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    int err = 0;
    if (seenRegular) {
        fFd = ::open(native.constData(), kFlags);
        err = errno;
    } else if (::stat(native.constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return NotRegular();
        fFd = ::open(native.constData(), kFlags);
        err = errno;
    } else if (errno == ENAMETOOLONG) {
        err = ENAMETOOLONG;
    } else {
        fOpenError = errno;
        return false;
    }
    if (fFd < 0 && err == ENAMETOOLONG) {
        // Deeper than a path call takes: go there one folder at a time.
        QByteArray leaf;
        const int dir = suite::OpenParentStepwise(native, leaf);
        if (dir < 0) {
            err = errno;
            if (err == ENOENT || err == ENOTDIR) {
                fOpenError = err;
                return false;
            }
            throw suite::TRunError(path, suite::ErrnoText(err));
        }
        if (::fstatat(dir, leaf.constData(), &st, 0) != 0) {
            fOpenError = errno;
            ::close(dir);
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            ::close(dir);
            return NotRegular();
        }
        fFd = ::openat(dir, leaf.constData(), kFlags);
        err = errno;
        ::close(dir);
    }
    if (fFd < 0) {
        if (err == ENOENT || err == ENOTDIR) {
            fOpenError = err;
            return false; // gone since it was listed: a missing file
        }
        throw suite::TRunError(path, suite::ErrnoText(err));
    }
    if (::fstat(fFd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Close();
        return NotRegular();
    }
    fSize = static_cast<int64_t>(st.st_size);
    fBytesRead = 0;
    fReadPastSize = false;
    fEndSeenAtSize = false;
#ifdef POSIX_FADV_SEQUENTIAL
    // Read-ahead advice only pays when there is more than one block to read;
    // on a small file it is one more system call per file.
    if (fSize > int64_t(kBlock))
        ::posix_fadvise(fFd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    if (fBytes.size() < kBlock + 8)
        fBytes.resize(kBlock + 8);
    if (fUnits.size() < kBlock + 8)
        fUnits.resize(kBlock + 8);
    return true;
}

size_t TTextFile::ReadAt(int64_t offset, uint8_t *buf, size_t n) {
    size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fFd, buf + done, n - done, offset + int64_t(done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw suite::TRunError(fPath, suite::ErrnoText(errno));
        }
        if (got == 0)
            break;
        done += size_t(got);
        // A regular file reads short only at its end: once the read reaches
        // the size seen at opening, asking again for the byte past it would
        // only confirm that, one system call a file. A file that grew
        // meanwhile is caught by CheckUnchanged.
        if (offset + int64_t(done) >= fSize)
            break;
    }
    return done;
}

size_t TTextFile::ReadStart(uint8_t *buf, size_t n) {
    if (fWholeInBuffer) {
        const size_t m = std::min(n, fWholeLength);
        std::memcpy(buf, fBytes.data(), m);
        return m;
    }
    return ReadAt(0, buf, size_t(std::min<int64_t>(int64_t(n), fSize)));
}

void TTextFile::CheckUnchanged() const {
    // A look at the size now would only tell of a change made after the
    // last byte was read, which the verdict does not rest on; and it is one
    // system call a file, a fifth of a small file's cost.
    if (fEndSeenAtSize && !fReadPastSize)
        return;
    struct stat st;
    if (::fstat(fFd, &st) != 0)
        throw suite::TRunError(fPath, suite::ErrnoText(errno));
    const int64_t now = static_cast<int64_t>(st.st_size);
    if (now != fSize)
        throw suite::TRunError(fPath, QStringLiteral("the file changed while it was checked: %1 "
                                                     "bytes when opened, %2 bytes now")
                                          .arg(fSize)
                                          .arg(now));
    if (fReadPastSize)
        throw suite::TRunError(fPath, QStringLiteral("the file changed while it was checked: it "
                                                     "holds more than the %1 bytes it had when "
                                                     "opened")
                                          .arg(fSize));
}

TTextFile::TMark TTextFile::DetectMark(const uint8_t *p, size_t n, TDefaultEncoding encoding) {
    const platform::TByteOrderMark mark = platform::ByteOrderMarkOf(p, n);
    switch (mark) {
    case platform::TByteOrderMark::Utf8:
        return {TTextKind::Utf8, platform::ByteOrderMarkLength(mark)};
    case platform::TByteOrderMark::Utf16LE:
        return {TTextKind::Utf16LE, platform::ByteOrderMarkLength(mark)};
    case platform::TByteOrderMark::Utf16BE:
        return {TTextKind::Utf16BE, platform::ByteOrderMarkLength(mark)};
    case platform::TByteOrderMark::None:
        break;
    }
    return {encoding == TDefaultEncoding::Utf8 ? TTextKind::Utf8 : TTextKind::Ansi, 0};
}

bool TTextFile::AllUtf8(const uint8_t *first, size_t n, bool whole) {
    TUtf8Sequence seq;
    if (!FeedWellFormed(seq, first, n))
        return false;
    if (!whole) {
        // Read ahead to the end (or the first ill-formed byte) into a buffer
        // of its own: the pass goes on from the first block.
        if (fAhead.size() < kBlock)
            fAhead.resize(kBlock);
        for (int64_t offset = int64_t(n); offset < fSize;) {
            const size_t want = size_t(std::min<int64_t>(int64_t(kBlock), fSize - offset));
            const size_t got = ReadAt(offset, fAhead.data(), want);
            if (!FeedWellFormed(seq, fAhead.data(), got))
                return false;
            if (got < want)
                break;
            offset += int64_t(got);
        }
    }
    return !seq.IsOpen();
}

// Reads the file from its start, detecting the mark in the first block (or
// taking `known`), and hands the sink each block after the mark:
// sink.Bytes(p, n) for 8-bit text, sink.Units(p, n) for decoded units, and
// sink.Decoded(n) with the number of units a UTF-8 block decoded to. A
// sink's Done() stops the reading early. A sink with Read(bytes) hears how
// far the reading got after each block.
template <class Sink>
TTextFile::TMark TTextFile::Pass(TDefaultEncoding encoding, const TMark *known, Sink &&sink) {
    uint8_t *bytes = fBytes.data();
    char16_t *units = fUnits.data();
    Utf8Decoder utf8;
    TMark mark{TTextKind::Ansi, 0};
    int64_t offset = 0;
    bool first = true;
    if (!fWholeInBuffer)
        fEndSeenAtSize = false;
    bool haveOdd = false;
    uint8_t oddByte = 0;
    for (;;) {
        if (!first && sink.Done())
            return mark;
        const uint8_t *p = bytes;
        size_t n;
        bool last;
        if (fWholeInBuffer) {
            n = fWholeLength;
            last = true;
        } else {
            // Up to the size seen at opening, and one byte more to tell a
            // file that grew since; that byte is not text.
            const int64_t left = std::max<int64_t>(0, fSize - offset);
            const size_t want = size_t(std::min<int64_t>(int64_t(kBlock), left + 1));
            n = ReadAt(offset, bytes, want);
            if (want == size_t(left) + 1 && int64_t(n) == left)
                fEndSeenAtSize = true;
            if (int64_t(n) > left) {
                fReadPastSize = true;
                n = size_t(left);
            }
            fBytesRead += int64_t(n);
            // A short read is the end of the file as it is now.
            last = n < want;
            if (first && last) {
                fWholeInBuffer = true;
                fWholeLength = n;
            }
        }
        offset += int64_t(n);
        if (first) {
            mark = known ? *known : DetectMark(p, n, encoding);
            if (!known && encoding == TDefaultEncoding::Automatic && mark.length == 0)
                mark.kind = AllUtf8(p, n, last) ? TTextKind::Utf8 : TTextKind::Ansi;
            if constexpr (requires { sink.OnKind(mark.kind, mark.length); })
                sink.OnKind(mark.kind, mark.length);
            const size_t skip = std::min(n, size_t(mark.length));
            p += skip;
            n -= skip;
            first = false;
        }
        switch (mark.kind) {
        case TTextKind::Ansi:
            sink.Bytes(p, n);
            break;
        case TTextKind::Utf8: {
            if constexpr (requires { sink.RawUtf8(p, n); })
                sink.RawUtf8(p, n);
            size_t k = utf8.Decode(p, n, units);
            if (last)
                k += utf8.Finish(units + k);
            sink.Decoded(k);
            sink.Units(units, k);
            break;
        }
        case TTextKind::Utf16LE:
        case TTextKind::Utf16BE: {
            // A trailing odd byte is not a character and is dropped.
            const bool le = mark.kind == TTextKind::Utf16LE;
            size_t k = 0;
            size_t i = 0;
            if (haveOdd && n > 0) {
                units[k++] = le ? char16_t(oddByte | (p[0] << 8)) : char16_t((oddByte << 8) | p[0]);
                i = 1;
                haveOdd = false;
            }
            const size_t pairs = (n - i) / 2;
            if (le) {
                static_assert(std::endian::native == std::endian::little);
                std::memcpy(units + k, p + i, pairs * 2); // already the machine's order
            } else {
                for (size_t j = 0; j < pairs; ++j)
                    units[k + j] = char16_t((p[i + 2 * j] << 8) | p[i + 2 * j + 1]);
            }
            k += pairs;
            i += pairs * 2;
            if (i < n) {
                haveOdd = true;
                oddByte = p[i];
            }
            sink.Units(units, k);
            break;
        }
        }
        if constexpr (requires { sink.Read(offset); })
            sink.Read(offset);
        if (last)
            return mark;
    }
}

namespace {

// Feeds the text (what comes before the first NUL) to a measure and,
// optionally, to the digraph counters.
struct TCountingSink {
    TextMeasure measure;
    TDigraphSinks sinks;
    char16_t prev = 0;
    int64_t decoded = 0;
    const TBytesReadCallback *onRead = nullptr;

    // Measuring UTF-8 reads past the NUL: the size test compares with what
    // every byte decodes to. Nothing after the NUL matters to other kinds.
    bool decodeUtf8 = false;
    bool decodeAll = false;
    void OnKind(TTextKind textKind, int64_t markLength) {
        kind = textKind;
        decodeAll = decodeUtf8 && kind == TTextKind::Utf8;
        eightBit = kind == TTextKind::Ansi;
        mark = markLength;
        at = markLength;
        const bool utf16 = kind == TTextKind::Utf16LE || kind == TTextKind::Utf16BE;
        byteFeatures = TByteScreen(markLength, kind == TTextKind::Utf8);
        // A fast counter is fresh here (its breaks are the measure's): its
        // table gives most of the shape.
        byteShape = TShapeCounter<uint8_t>(0, 0, breaksFromCounters && sinks.bytes);
        wideShape =
            TShapeCounter<char16_t>(markLength, utf16 ? 2 : 0, breaksFromCounters && sinks.wide);
    }

    // The extended checks' features, when asked for: counted on the text
    // (what comes before the first NUL) as it goes by.
    TTextFeatures *features = nullptr;
    TTextKind kind = TTextKind::Ansi;
    int64_t mark = 0;
    int64_t at = 0;        // the file offset of the next byte (8-bit, UTF-8)
    int64_t unitsSeen = 0; // UTF-16 units before this block
    bool rawEnded = false;
    TByteScreen byteFeatures;
    TShapeCounter<uint8_t> byteShape;
    TShapeCounter<char16_t> wideShape;
    // UTF-8 before decoding: the byte features, and the NUL's byte offset.
    void RawUtf8(const uint8_t *p, size_t n) {
        if (!features || rawEnded)
            return;
        const void *nul = std::memchr(p, 0, n);
        const size_t m = nul ? size_t(static_cast<const uint8_t *>(nul) - p) : n;
        byteFeatures.Feed(p, m);
        if (nul) {
            features->firstNul = at + int64_t(m);
            rawEnded = true;
        }
        at += int64_t(n);
    }
    template <class U, class Counter>
    void FinishShape(const TShapeCounter<U> &shape, const Counter *counter, TTextFeatures &f) {
        if (shape.PairsCounted())
            shape.Finish(f, counter->WhitePairs());
        else
            shape.Finish(f);
    }
    // Returns whether the byte features need TByteFeatureCounter's exact
    // counts, in a second read.
    bool FinishFeatures(int64_t size) {
        TTextFeatures &f = *features;
        if (kind == TTextKind::Utf16LE || kind == TTextKind::Utf16BE) {
            FinishShape(wideShape, sinks.wide, f);
            f.oddUtf16 = (size - mark) % 2 != 0;
            return false;
        }
        if (kind == TTextKind::Ansi && byteShape.PairsCounted()) {
            const TBytePairFigures pairs = sinks.bytes->Figures();
            byteShape.Finish(f, pairs);
            return byteFeatures.Finish(f, pairs);
        }
        byteFeatures.Finish(f, kind == TTextKind::Utf8);
        if (kind == TTextKind::Ansi)
            byteShape.Finish(f);
        else
            FinishShape(wideShape, sinks.wide, f);
        return false;
    }
    bool Done() const { return measure.Ended() && !decodeAll; }
    void Decoded(size_t k) { decoded += int64_t(k); }
    void Bytes(const uint8_t *p, size_t n) {
        const size_t m = breaksFromCounters && sinks.bytes ? measure.FeedWithoutBreaks(p, n)
                                                           : measure.Feed(p, n);
        if (sinks.bytes)
            sinks.bytes->Feed(p, m);
        else if (sinks.ordered)
            sinks.ordered->AddBytes(p, m, prev);
        if (features) {
            if (byteShape.PairsCounted())
                byteFeatures.FeedBesideCounter(p, m, sinks.bytes->LastFeedHadHighBytes());
            else
                byteFeatures.Feed(p, m);
            byteShape.Feed(p, m);
            if (m < n)
                features->firstNul = at + int64_t(m);
            at += int64_t(n);
        }
        Report();
    }
    // Measuring into a (fresh) fast counter: its table counts the line
    // breaks too, in the same pass; they are the measure's once the text is
    // fed.
    bool breaksFromCounters = false;
    bool eightBit = true;
    void Finish() {
        if (!breaksFromCounters)
            return;
        TLineBreaks b;
        if (eightBit && sinks.bytes)
            b = sinks.bytes->Breaks();
        else if (!eightBit && sinks.wide)
            b = sinks.wide->Breaks();
        measure.AddBreaks(b.cr, b.lf, b.crlf);
    }
    void Units(const char16_t *p, size_t n) {
        const size_t m =
            breaksFromCounters && sinks.wide ? measure.FeedWithoutBreaks(p, n) : measure.Feed(p, n);
        if (sinks.wide)
            sinks.wide->Feed(p, m);
        else if (sinks.ordered)
            sinks.ordered->AddUnits(p, m, prev);
        if (features) {
            wideShape.Feed(p, m);
            // UTF-16: unit i lies at mark + 2 i, a unit split by a block too.
            if (m < n && kind != TTextKind::Utf8)
                features->firstNul = mark + 2 * (unitsSeen + int64_t(m));
            unitsSeen += int64_t(n);
        }
        Report();
    }
    void Read(int64_t bytes) {
        if (onRead && *onRead)
            (*onRead)(bytes);
    }
    void Report() { MyYieldProcess(); }
};

// The second read of a rare text: its lines that hold a token and its
// commonest unit (`lines`), and its mojibake counted byte by byte (`bytes`).
struct TSecondLook {
    bool lines = false;
    bool bytes = false;
    std::optional<TLineCounter> lineCounterStore;
    TByteFeatureCounter byteCounter;
    bool ended = false, rawEnded = false;
    bool Done() const { return ended && rawEnded; }
    void Decoded(size_t) {}
    template <class U> size_t TextIn(const U *p, size_t n) {
        size_t m = 0;
        while (m < n && p[m] != 0)
            ++m;
        return m;
    }
    void Lines(const auto *p, size_t n) {
        const size_t m = TextIn(p, n);
        if (lines && !ended) {
            if (!lineCounterStore)
                lineCounterStore.emplace();
            lineCounterStore->Feed(p, m);
        }
        ended = ended || m < n;
    }
    void Raw(const uint8_t *p, size_t n) {
        const size_t m = TextIn(p, n);
        if (bytes && !rawEnded)
            byteCounter.Feed(p, m);
        rawEnded = rawEnded || m < n;
    }
    void Bytes(const uint8_t *p, size_t n) {
        Lines(p, n);
        Raw(p, n);
    }
    void RawUtf8(const uint8_t *p, size_t n) { Raw(p, n); }
    void Units(const char16_t *p, size_t n) {
        Lines(p, n);
        rawEnded = rawEnded || ended || !bytes; // UTF-16 has no byte features
    }
    void Finish(TTextFeatures &f, bool readAsUtf8) {
        if (lines) {
            if (!lineCounterStore)
                lineCounterStore.emplace();
            lineCounterStore->Finish(f);
        }
        if (bytes) {
            // Exact, where the one pass may have only bounded a count.
            TTextFeatures all;
            byteCounter.Finish(all, readAsUtf8);
            TakeExactByteCounts(f, all);
            f.mojibakeSequences = all.mojibakeSequences;
            f.mojibakeChars = all.mojibakeChars;
            f.nonAsciiChars = all.nonAsciiChars;
            f.firstMojibake = all.firstMojibake;
        }
    }
};

} // namespace

TFileMeasure TTextFile::Measure(TDefaultEncoding encoding, const TDigraphSinks &sinks,
                                const TBytesReadCallback &onRead, TTextFeatures *features) {
    if (features)
        *features = TTextFeatures{};
    fWholeInBuffer = false;
    TFileMeasure m;
    m.size = fSize;
    TCountingSink sink;
    sink.sinks = sinks;
    sink.onRead = &onRead;
    // UTF-8 is decoded to the end: the size test compares with all of it.
    sink.decodeUtf8 = true;
    sink.breaksFromCounters = true;
    sink.features = features;
    const TMark mark = Pass(encoding, nullptr, sink);
    sink.Finish();
    if (features)
        features->bytesOnlyBounded = sink.FinishFeatures(fSize);
    m.kind = mark.kind;
    m.markLength = mark.length;
    m.unicode = mark.kind == TTextKind::Utf16LE || mark.kind == TTextKind::Utf16BE;
    m.length = sink.measure.Length();
    m.decodedUnits = sink.decoded;
    return m;
}

void TTextFile::LookAgain(const TFileMeasure &m, bool lines, bool bytes, TTextFeatures &features) {
    if (!lines && !bytes)
        return;
    TSecondLook look;
    look.lines = lines;
    look.bytes = bytes;
    look.byteCounter = TByteFeatureCounter(m.markLength);
    const TMark mark{m.kind, m.markLength};
    Pass(TDefaultEncoding::Windows1252, &mark, look);
    look.Finish(features, m.kind == TTextKind::Utf8);
}

void TTextFile::Count(const TFileMeasure &m, const TDigraphSinks &sinks) {
    TCountingSink sink;
    sink.sinks = sinks;
    const TMark mark{m.kind, m.markLength};
    Pass(TDefaultEncoding::Windows1252, &mark, sink);
}

namespace {

struct TTextSink {
    QString raw;
    bool ended = false;
    // Units wanted at most; reading stops once they are in.
    qsizetype limit = std::numeric_limits<qsizetype>::max();
    bool Done() const { return ended || raw.size() >= limit; }
    void Decoded(size_t) {}
    void Bytes(const uint8_t *p, size_t n) {
        const void *nul = std::memchr(p, 0, n);
        const size_t m = nul ? size_t(static_cast<const uint8_t *>(nul) - p) : n;
        const qsizetype at = raw.size();
        raw.resize(at + qsizetype(m));
        QChar *out = raw.data() + at;
        for (size_t i = 0; i < m; ++i)
            out[i] = QChar(kCp1252[p[i]]);
        ended = nul != nullptr;
    }
    void Units(const char16_t *p, size_t n) {
        size_t m = 0;
        while (m < n && p[m] != 0)
            ++m;
        raw.append(reinterpret_cast<const QChar *>(p), qsizetype(m));
        ended = m < n;
    }
};

QString JoinLines(const QString &raw) {
    QString text;
    text.reserve(raw.size() + 2);
    const QChar *p = raw.constData();
    const qsizetype n = raw.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = p[i];
        if (c == QLatin1Char('\r')) {
            text.append(QLatin1String("\r\n"));
            if (i + 1 < n && p[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            text.append(QLatin1String("\r\n"));
        } else {
            text.append(c);
        }
    }
    if (n > 0 && p[n - 1] != QLatin1Char('\r') && p[n - 1] != QLatin1Char('\n'))
        text.append(QLatin1String("\r\n"));
    return text;
}

} // namespace

QString TTextFile::ReadText(TDefaultEncoding encoding) {
    fWholeInBuffer = false;
    TTextSink sink;
    Pass(encoding, nullptr, sink);
    return JoinLines(sink.raw);
}

QString TTextFile::ReadTextStart(TDefaultEncoding encoding, qsizetype maxUnits, bool &cut) {
    fWholeInBuffer = false;
    maxUnits = std::max<qsizetype>(0, maxUnits);
    TTextSink sink;
    // One unit more than wanted tells whether the text goes on.
    sink.limit = maxUnits + 1;
    Pass(encoding, nullptr, sink);
    cut = sink.raw.size() > maxUnits;
    sink.raw.truncate(maxUnits);
    return JoinLines(sink.raw);
}

QString LoadText(const QString &path, TDefaultEncoding encoding) {
    TTextFile file;
    if (!file.Open(path))
        throw suite::TRunError(path, suite::ErrnoText(ENOENT));
    return file.ReadText(encoding);
}

} // namespace engine
