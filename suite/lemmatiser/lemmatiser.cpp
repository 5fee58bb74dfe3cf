#include "lemmatiser.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <map>
#include <vector>

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

bool ReadEntries(const QString &fileName, QStringList &entries) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
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
