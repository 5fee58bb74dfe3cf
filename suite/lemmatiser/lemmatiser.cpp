// SPDX-License-Identifier: GPL-3.0-or-later
#include "lemmatiser.h"

#include "FileNames.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <map>
#include <vector>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TLoad {
    uint8_t tool;
    bool cancelled = false;
};

std::map<std::pair<uint8_t, int32_t>, QStringList> gLists;
// Loads under way; a callback may start another, so there can be several.
std::vector<TLoad *> gLoads;

// Reports often enough to answer a stop quickly, seldom enough to cost
// little on long lists.
constexpr int32_t kReportsPerList = 200;

// Reads the whole list file. Only a regular file is read, and it is opened
// non-blocking, so a FIFO or a device put where a list was never hangs the
// window nor fills its memory.
bool ReadListFile(const QString &fileName, QByteArray &bytes) {
    const QByteArray native = suite::EncodeFileName(fileName);
    struct stat st {};
    // Devices are not even opened; the test is repeated on what was opened.
    if (native.isEmpty() || ::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxListFileSize;
    if (ok) {
        bytes.resize(qsizetype(st.st_size));
        qsizetype done = 0;
        // A file that grows meanwhile is read as far as its size was.
        while (ok && done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            ok = n >= 0;
            if (n <= 0)
                break;
            done += n;
        }
        bytes.truncate(done);
    }
    ::close(fd);
    return ok;
}

bool ReadEntries(const QString &fileName, QStringList &entries) {
    QByteArray bytes;
    if (!ReadListFile(fileName, bytes))
        return false;
    const auto bom = QStringConverter::encodingForData(bytes);
    QStringDecoder decode(bom.value_or(QStringConverter::Utf8));
    const QString text = decode(bytes);
    if (decode.hasError())
        return false;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString entry = line.trimmed();
        if (!entry.isEmpty())
            entries.append(entry);
    }
    return true;
}

} // namespace

uint32_t LoadedOne(uint8_t tool, const char16_t *fileName, int32_t kind,
                   const TLemmaLineCountCallback &onLineCount,
                   const TLemmaProgressCallback &onProgress, int32_t, int32_t, int32_t) {
    if (!fileName || kind < 0 || kind > 3)
        return 0;
    const QString name = QString::fromUtf16(fileName);
    QStringList lines;
    if (!ReadEntries(name, lines))
        return 0;

    TLoad load{tool};
    gLoads.push_back(&load);
    const int32_t total = int32_t(lines.size());
    const int32_t step = std::max<int32_t>(1, total / kReportsPerList);
    if (onLineCount)
        onLineCount(total, ToHundredWideChar(QFileInfo(name).completeBaseName()));
    QStringList entries;
    for (int32_t i = 0; i < total && !load.cancelled; ++i) {
        entries.append(lines[i]);
        const int32_t done = i + 1;
        if (onProgress && (done == 1 || done % step == 0 || done == total))
            onProgress(done);
    }
    std::erase(gLoads, &load);
    if (load.cancelled)
        return 0;
    gLists[{tool, kind}] = entries;
    return 1;
}

void ClearOne(uint8_t tool, int32_t kind) {
    gLists.erase({tool, kind});
}

void CancelOne(uint8_t tool, uint8_t) {
    for (TLoad *load : gLoads)
        if (load->tool == tool)
            load->cancelled = true;
}

QStringList LoadedEntries(uint8_t tool, int32_t kind) {
    const auto it = gLists.find({tool, kind});
    return it == gLists.end() ? QStringList() : it->second;
}
