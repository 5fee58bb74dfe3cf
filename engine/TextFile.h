// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a text file the way a text-list load does, in bounded memory.
//
// A byte-order mark selects the encoding and is not text: EF BB BF UTF-8,
// FF FE UTF-16 little-endian, FE FF UTF-16 big-endian. Without a mark the
// bytes are Windows-1252 (one character a byte), or UTF-8 when asked for
// (or, asked for Automatic, when they all are well-formed UTF-8).
// The first NUL ends the text. The file is read in blocks, never whole, and
// opened read-only and non-blocking, and only when it is a regular file.

#include "DigraphCounter.h"
#include "TextFeatures.h"
#include "TextMeasure.h"
#include "Utf8Decoder.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace engine {

// How a file without a byte-order mark is read. Automatic: as UTF-8 when
// all its bytes are well-formed UTF-8, else as Windows-1252.
enum class TDefaultEncoding { Windows1252, Utf8, Automatic };
enum class TTextKind { Ansi, Utf8, Utf16LE, Utf16BE };

struct TFileMeasure {
    int64_t size = 0;
    TTextKind kind = TTextKind::Ansi;
    int64_t markLength = 0;
    // True for a UTF-16 mark: the file holds two bytes a character.
    bool unicode = false;
    // The loaded text's length in UTF-16 code units.
    int64_t length = 0;
    // UTF-8 only: the units that all bytes after the mark decode to.
    int64_t decodedUnits = 0;
};

// Where a pass counts the text's digraphs. The fast counters take 8-bit text
// and decoded units respectively; `ordered` takes whatever they don't (or
// everything, when they are not given), in order of first occurrence. The
// fast counters must start afresh (new, Reset, or read off by Take or
// FlushInto): their counts also give the measure its line breaks.
struct TDigraphSinks {
    TByteDigraphCounter *bytes = nullptr;
    TWideDigraphCounter *wide = nullptr;
    TPairCounts *ordered = nullptr;
};

// Called after each block read with the bytes of the file read so far.
using TBytesReadCallback = std::function<void(int64_t bytesRead)>;

class TTextFile {
public:
    static constexpr size_t kBlock = 256 * 1024;

    TTextFile() = default;
    ~TTextFile();
    TTextFile(const TTextFile &) = delete;
    TTextFile &operator=(const TTextFile &) = delete;

    // Opens `path`. False when it does not exist or is not a regular file;
    // throws TRunError when it exists but cannot be opened or read. A path
    // is looked at before it is opened, so that nothing but a regular file is
    // ever opened, unless `seenRegular` says a folder walk has just seen a
    // regular file there: that saves a path lookup per file, and what took
    // its place since is still refused once open.
    bool Open(const QString &path, bool seenRegular = false);
    // Why the last Open() answered false: the errno of the look-up or open
    // that failed, or 0 when the path is there but is not a regular file.
    int OpenError() const { return fOpenError; }
    void Close();
    int64_t Size() const { return fSize; }
    // Bytes read from the file since it was opened: an 8-bit or UTF-16 text
    // is read only up to its first NUL (and the rest of that block). Never
    // more than Size(): a file is read only as far as its size at opening,
    // so one that a writer keeps growing still ends.
    int64_t BytesRead() const { return fBytesRead; }
    // Throws TRunError when the file's size is no longer the one seen at
    // opening, or the reading met more bytes than that: a verdict on what
    // was read would be about a file that no longer exists. When the last
    // read met the end of the file right at that size, what was read is the
    // whole file as it was then, and the size is not looked at again.
    void CheckUnchanged() const;

    // Reads the file once: its encoding and its text's length; also counts
    // the text's digraphs into `sinks`, when given. `onRead`, when set, is
    // called after every block. `features`, when given, receives what the
    // extended checks judge, from the same pass.
    TFileMeasure Measure(TDefaultEncoding encoding, const TDigraphSinks &sinks = {},
                         const TBytesReadCallback &onRead = {}, TTextFeatures *features = nullptr);

    // Reads the file again, after a Measure that filled `features`, for the
    // counts that pass left out: the lines that hold a token and the
    // commonest unit (`lines`), and the byte features counted one byte at a
    // time, exactly and with mojibake (`bytes`). Nothing when neither.
    void LookAgain(const TFileMeasure &m, bool lines, bool bytes, TTextFeatures &features);

    // Up to the first `n` bytes of the file, as they are (within the size
    // seen at opening); how many.
    size_t ReadStart(uint8_t *buf, size_t n);

    // Reads the file again and counts its text's digraphs into `sinks`.
    void Count(const TFileMeasure &m, const TDigraphSinks &sinks);

    // The whole text, lines joined with CR LF, the last one too.
    QString ReadText(TDefaultEncoding encoding);
    // At most the first `maxUnits` code units of the text (lines joined the
    // same way); `cut` tells whether the text went on beyond them. Reading
    // stops there, so a huge file costs no more than its start.
    QString ReadTextStart(TDefaultEncoding encoding, qsizetype maxUnits, bool &cut);

private:
    bool NotRegular(); // false, with OpenError() 0
    struct TMark {
        TTextKind kind;
        int64_t length;
    };
    static TMark DetectMark(const uint8_t *p, size_t n, TDefaultEncoding encoding);
    template <class Sink> TMark Pass(TDefaultEncoding encoding, const TMark *known, Sink &&sink);
    size_t ReadAt(int64_t offset, uint8_t *buf, size_t n);
    // Whether the file, whose first block is `first`, is well-formed UTF-8
    // throughout (`whole`: that block is all of it).
    bool AllUtf8(const uint8_t *first, size_t n, bool whole);

    QString fPath;
    int fFd = -1;
    int fOpenError = 0;
    int64_t fSize = 0;
    int64_t fBytesRead = 0;
    bool fReadPastSize = false;
    // The last pass's last read asked for the byte past the size seen at
    // opening and met the end of the file right there: what was read is the
    // whole file, at that size, as it was then.
    bool fEndSeenAtSize = false;
    std::vector<uint8_t> fBytes;
    std::vector<char16_t> fUnits;
    std::vector<uint8_t> fAhead; // Automatic's look ahead
    // The whole file when it fitted in one block, kept for the second pass.
    bool fWholeInBuffer = false;
    size_t fWholeLength = 0;
};

// The text of a file as the text pane shows it. Throws TRunError.
QString LoadText(const QString &path, TDefaultEncoding encoding = TDefaultEncoding::Windows1252);

} // namespace engine
