// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileFile.h"

#include "AtomicFile.h"
#include "FileNames.h"
#include "TextTables.h"

#include <array>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

namespace {

// Layout (all numbers little-endian):
//   0  8  magic "BRDGPROF"
//   8  4  format version
//  12  4  encoding of the references: 0 windows-1252, 1 utf-8, 2 auto
//  16  4  min_digraphs
//  20  8  digraphs: all occurrences counted
//  28  4  n, the number of entries
//  32 12n entries: key (4), count (8), ascending key; a key is a digraph as
//         the counter makes one: a letter, then a letter or a space
// version 2 only:
//  ..  4  the calibration the cut comes from (kCutCalibration)
//  ..  4  m, the number of cut points
//  .. 16m points: digraphs (8, signed), cut (8, IEEE 754 double)
//  ..  4  CRC-32 of every byte before it
constexpr char kMagic[8] = {'B', 'R', 'D', 'G', 'P', 'R', 'O', 'F'};
constexpr qsizetype kHeaderSize = 32;
constexpr qsizetype kEntrySize = 12;
constexpr qsizetype kTrailerSize = 4;
constexpr qsizetype kPointSize = 16;
// The largest file a profile can be; keeps a wrong file from being read whole.
constexpr int64_t kMaxFileSize = kHeaderSize + kEntrySize * int64_t(kMaxProfileEntries) + 8 +
                                 kPointSize * int64_t(kMaxCutPoints) + kTrailerSize;

void PutU32(QByteArray &out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

void PutI64(QByteArray &out, int64_t v) {
    const uint64_t u = uint64_t(v);
    for (int i = 0; i < 8; ++i)
        out.append(char((u >> (8 * i)) & 0xFF));
}

uint32_t GetU32(QByteArrayView in, qsizetype at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(uint8_t(in[at + i])) << (8 * i);
    return v;
}

int64_t GetI64(QByteArrayView in, qsizetype at) {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v |= uint64_t(uint8_t(in[at + i])) << (8 * i);
    return int64_t(v);
}

TProfileRead Fail(const QString &error) {
    TProfileRead r;
    r.error = error;
    return r;
}

QString Truncated(qsizetype have, qsizetype need) {
    return QStringLiteral("truncated profile: %1 bytes where at least %2 were expected")
        .arg(have)
        .arg(need);
}

} // namespace

uint32_t Crc32(QByteArrayView bytes) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (const char b : bytes)
        crc = table[(crc ^ uint8_t(b)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

namespace {

// How the references were read. Automatic is a number of its own, not the
// encoding most of them turned out to be: the same references give other
// digraphs read either way, and a scan must read its files as they were.
// Version 1 files hold 0 or 1 and read as before; one reader that knows
// only those refuses a 2 as an unknown encoding rather than misread it.
uint32_t EncodingNumber(TDefaultEncoding e) {
    switch (e) {
    case TDefaultEncoding::Utf8:
        return 1;
    case TDefaultEncoding::Automatic:
        return 2;
    case TDefaultEncoding::Windows1252:
        break;
    }
    return 0;
}

} // namespace

QByteArray EncodeProfile(const TSavedProfile &saved) {
    const auto &entries = saved.profile.entries;
    QByteArray out;
    out.reserve(kHeaderSize + kEntrySize * qsizetype(entries.size()) + 8 +
                kPointSize * qsizetype(saved.cut.size()) + kTrailerSize);
    out.append(kMagic, sizeof kMagic);
    PutU32(out, saved.cut.empty() ? 1 : kProfileFormatVersion);
    PutU32(out, EncodingNumber(saved.encoding));
    PutU32(out, uint32_t(saved.min_digraphs));
    PutI64(out, saved.profile.digraphs);
    PutU32(out, uint32_t(entries.size()));
    for (const TProfileEntry &e : entries) {
        PutU32(out, e.key);
        PutI64(out, e.count);
    }
    if (!saved.cut.empty()) {
        PutU32(out, kCutCalibration);
        PutU32(out, uint32_t(saved.cut.size()));
        for (const auto &[digraphs, cut] : saved.cut) {
            PutI64(out, digraphs);
            PutI64(out, int64_t(std::bit_cast<uint64_t>(cut)));
        }
    }
    PutU32(out, Crc32(out));
    return out;
}

TProfileRead DecodeProfile(QByteArrayView in) {
    const qsizetype size = in.size();
    const QByteArrayView magic(kMagic, sizeof kMagic);
    if (size < magic.size())
        return Fail(magic.startsWith(in) ? Truncated(size, kHeaderSize + kTrailerSize)
                                         : QStringLiteral("not a brindle-scan profile"));
    if (!in.startsWith(magic))
        return Fail(QStringLiteral("not a brindle-scan profile"));
    if (size < 12)
        return Fail(Truncated(size, kHeaderSize + kTrailerSize));
    const uint32_t version = GetU32(in, 8);
    if (version < 1 || version > kProfileFormatVersion)
        return Fail(
            QStringLiteral("profile format version %1; this brindle-scan reads versions 1 to %2")
                .arg(version)
                .arg(kProfileFormatVersion));
    if (size < kHeaderSize + kTrailerSize)
        return Fail(Truncated(size, kHeaderSize + kTrailerSize));
    const uint32_t n = GetU32(in, 28);
    if (n > kMaxProfileEntries)
        return Fail(QStringLiteral("a profile of %1 digraphs; a reference set may keep at most %2")
                        .arg(n)
                        .arg(kMaxProfileEntries));
    qsizetype expected = kHeaderSize + kEntrySize * qsizetype(n) + kTrailerSize;
    uint32_t m = 0; // cut points
    uint32_t calibration = 0;
    if (version >= 2) {
        expected += 8;
        if (size < expected)
            return Fail(Truncated(size, expected));
        calibration = GetU32(in, expected - kTrailerSize - 8);
        m = GetU32(in, expected - kTrailerSize - 4);
        if (m > kMaxCutPoints)
            return Fail(QStringLiteral("corrupt profile: %1 cut points").arg(m));
        expected += kPointSize * qsizetype(m);
    }
    if (size < expected)
        return Fail(Truncated(size, expected));
    if (size > expected)
        return Fail(QStringLiteral("corrupt profile: %1 bytes where %2 were expected")
                        .arg(size)
                        .arg(expected));
    if (Crc32(in.first(size - kTrailerSize)) != GetU32(in, size - kTrailerSize))
        return Fail(QStringLiteral("corrupt profile: the checksum does not match"));

    // A checksum only catches damage; the rest guards against a file made
    // by hand.
    TSavedProfile saved;
    const uint32_t encoding = GetU32(in, 12);
    if (encoding > 2)
        return Fail(QStringLiteral("corrupt profile: unknown encoding %1").arg(encoding));
    saved.encoding = encoding == 2   ? TDefaultEncoding::Automatic
                     : encoding == 1 ? TDefaultEncoding::Utf8
                                     : TDefaultEncoding::Windows1252;
    saved.min_digraphs = int32_t(GetU32(in, 16));
    saved.profile.digraphs = GetI64(in, 20);
    if (saved.min_digraphs < 1 || saved.profile.digraphs < 1)
        return Fail(QStringLiteral("corrupt profile: no digraphs counted"));
    saved.profile.entries.reserve(n);
    int64_t sum = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const qsizetype at = kHeaderSize + kEntrySize * qsizetype(i);
        const TProfileEntry e{GetU32(in, at), GetI64(in, at + 4)};
        // As the counter makes them: a letter, then a letter or a space. Any
        // other unit (a TAB, a line break) would reach reasons and columns.
        const char16_t first = char16_t(e.key >> 16), second = char16_t(e.key & 0xFFFF);
        if (!IsLetterUnit(first) || (!IsLetterUnit(second) && second != u' '))
            return Fail(QStringLiteral("corrupt profile: entry %1 is not a digraph").arg(i + 1));
        if (!saved.profile.entries.empty() && e.key <= saved.profile.entries.back().key)
            return Fail(QStringLiteral("corrupt profile: entry %1 is out of order").arg(i + 1));
        if (e.count < saved.min_digraphs || e.count > saved.profile.digraphs - sum)
            return Fail(
                QStringLiteral("corrupt profile: entry %1 has an impossible count").arg(i + 1));
        sum += e.count;
        saved.profile.entries.push_back(e);
    }
    // The cut: lengths ascending, each cut a finite score that never rises
    // with the length (as a calibration makes it).
    const qsizetype points = kHeaderSize + kEntrySize * qsizetype(n) + 8;
    for (uint32_t i = 0; i < m; ++i) {
        const qsizetype at = points + kPointSize * qsizetype(i);
        const int64_t digraphs = GetI64(in, at);
        const double cut = std::bit_cast<double>(uint64_t(GetI64(in, at + 8)));
        if (digraphs < 1 || !std::isfinite(cut) || cut < 0.0 ||
            (!saved.cut.empty() &&
             (digraphs <= saved.cut.back().first || cut > saved.cut.back().second)))
            return Fail(QStringLiteral("corrupt profile: cut point %1 is impossible").arg(i + 1));
        saved.cut.emplace_back(digraphs, cut);
    }
    if (calibration != kCutCalibration)
        saved.cut.clear();
    TProfileRead r;
    r.saved = std::move(saved);
    return r;
}

TProfileRead ReadProfileFile(const QString &path) {
    const int fd =
        ::open(suite::EncodeFileName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Fail(QString::fromLocal8Bit(std::strerror(errno)));
    QByteArray bytes;
    QString error;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
    } else if (!S_ISREG(st.st_mode)) {
        error = QStringLiteral("not a regular file");
    } else if (st.st_size > kMaxFileSize) {
        error = QStringLiteral("%1 bytes, more than any profile (a reference set keeps at most "
                               "%2 digraphs)")
                    .arg(qint64(st.st_size))
                    .arg(kMaxProfileEntries);
    } else {
        bytes.resize(qsizetype(st.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                error = QString::fromLocal8Bit(std::strerror(errno));
                break;
            }
            if (got == 0) { // shrank while read: what is there is checked
                bytes.truncate(done);
                break;
            }
            done += got;
        }
    }
    ::close(fd);
    if (!error.isEmpty())
        return Fail(error);
    return DecodeProfile(bytes);
}

QString ProfileMismatch(const TSavedProfile &saved, TDefaultEncoding encoding,
                        int32_t minDigraphs) {
    // The references were read with the scan's encoding; another one would
    // count other digraphs in them.
    if (saved.encoding != encoding) {
        const auto name = [](TDefaultEncoding e) {
            switch (e) {
            case TDefaultEncoding::Utf8:
                return QStringLiteral("utf-8");
            case TDefaultEncoding::Automatic:
                return QStringLiteral("auto");
            case TDefaultEncoding::Windows1252:
                break;
            }
            return QStringLiteral("windows-1252");
        };
        return QStringLiteral("the profile was made with --encoding %1; scan with the same "
                              "encoding, or save the profile again with %2")
            .arg(name(saved.encoding), name(encoding));
    }
    if (saved.min_digraphs != minDigraphs)
        return QStringLiteral("the profile keeps digraphs counted %1 times or more; this scan "
                              "needs %2")
            .arg(saved.min_digraphs)
            .arg(minDigraphs);
    return {};
}

bool HasProfileMagic(const QString &path) {
    const int fd =
        ::open(suite::EncodeFileName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    char head[sizeof kMagic];
    qsizetype done = 0;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        while (done < qsizetype(sizeof head)) {
            const ssize_t got = ::read(fd, head + done, sizeof head - size_t(done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += got;
        }
    }
    ::close(fd);
    return done == qsizetype(sizeof head) && std::memcmp(head, kMagic, sizeof head) == 0;
}

QString SaveProfileFile(const QString &path, const TSavedProfile &saved) {
    if (saved.profile.entries.size() > kMaxProfileEntries)
        return QStringLiteral("the profile keeps %1 digraphs; a reference set may keep at most %2")
            .arg(saved.profile.entries.size())
            .arg(kMaxProfileEntries);
    return platform::WriteFileAtomicallyAt(suite::EncodeFileName(path), EncodeProfile(saved));
}

} // namespace engine
