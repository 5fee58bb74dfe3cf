// SPDX-License-Identifier: GPL-3.0-or-later
#include "Shards.h"

#include "FileNames.h"

#include <sys/stat.h>

namespace cli {

std::optional<TShard> ParseShard(const QString &text) {
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    if (slash <= 0)
        return std::nullopt;
    bool okK = false, okN = false;
    const qlonglong k = text.left(slash).toLongLong(&okK);
    const qlonglong n = text.mid(slash + 1).toLongLong(&okN);
    if (!okK || !okN || n < 1 || n > kMaxShards || k < 1 || k > n)
        return std::nullopt;
    return TShard{int(k), int(n)};
}

int64_t ShardWeight(const QString &path) {
    struct stat st;
    int64_t size = 0;
    if (::stat(suite::EncodeFileName(path).constData(), &st) == 0 && S_ISREG(st.st_mode))
        size = int64_t(st.st_size);
    return size + kShardFileCost;
}

int ShardOf(int64_t offset, int64_t weight, int64_t total, int count) {
    if (total <= 0)
        return 0;
    // The middle of the file, 2*offset + weight over 2*total, scaled to the
    // shards; 128-bit so that no corpus size can overflow.
    const unsigned __int128 middle2 = (unsigned __int128)(2 * offset) + (unsigned __int128)weight;
    const unsigned __int128 shard = middle2 * unsigned(count) / ((unsigned __int128)total * 2);
    return shard >= unsigned(count) ? count - 1 : int(shard);
}

TShardSource::TShardSource(engine::TFileSource &whole, engine::TFileSource &firstPass, TShard shard)
    : fWhole(whole), fShard(shard) {
    // Weigh every file once; the second pass then only counts files. The
    // weights live only while the cut is made (8 bytes a file).
    std::vector<int64_t> weights;
    int64_t total = 0;
    for (engine::TSourceFile file; firstPass.Next(file);) {
        weights.push_back(ShardWeight(file.path));
        total += weights.back();
    }
    const qsizetype n = qsizetype(weights.size());
    fWholeCount = n;
    fFirst = fEnd = n;
    int64_t offset = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const int s = ShardOf(offset, weights[size_t(i)], total, fShard.count);
        offset += weights[size_t(i)];
        if (s < fShard.index - 1)
            continue;
        if (s > fShard.index - 1) {
            if (fFirst == n)
                fFirst = i;
            fEnd = i;
            break;
        }
        if (fFirst == n)
            fFirst = i;
    }
}

void TShardSource::Hold(std::function<void()> report) {
    fHeld.push_back(std::move(report));
}

bool TShardSource::Next(engine::TSourceFile &file) {
    const auto release = [this](bool mine) {
        if (mine)
            for (const auto &report : fHeld)
                report();
        fHeld.clear();
    };
    const bool last = fShard.index == fShard.count;
    while (!fDone) {
        // Past its part, only the last shard reads on: the reports after the
        // last file are its own.
        if (fIndex >= fEnd && !last)
            break;
        if (!fWhole.Next(file)) {
            release(last);
            break;
        }
        const qsizetype index = fIndex++;
        const bool mine = index >= fFirst && index < fEnd;
        release(mine);
        if (mine)
            return true;
        if (index >= fEnd)
            break; // the list grew since it was weighed
    }
    fDone = true;
    return false;
}

} // namespace cli
