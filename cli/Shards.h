// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cutting a file list into N shards for N machines.
//
// The shards are contiguous ranges of the list in its order, so writing the
// outputs of shards 1..N one after the other gives exactly the output of one
// run over the whole list. They are balanced by bytes: each file weighs its
// size plus kShardFileCost (the cost of opening a file, so that a list of
// many tiny or empty files still spreads evenly), and a file belongs to the
// shard in which the middle of its weight falls. Every shard computes the
// same cut from the same list, so the corpus must not change while they run.

#include "FileSource.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace cli {

struct TShard {
    int index = 1; // 1-based
    int count = 1;
};

// "K/N" with 1 <= K <= N <= kMaxShards.
std::optional<TShard> ParseShard(const QString &text);
constexpr int kMaxShards = 1000000;

constexpr int64_t kShardFileCost = 4096;

// A file's weight: its size (0 when it cannot be looked at) plus the cost.
int64_t ShardWeight(const QString &path);

// The 0-based shard of a file of `weight` starting at `offset` (the weights
// of the files before it), of `total` (all the weights), cut into `count`.
// Never decreases along a list, and stays below `count`.
int ShardOf(int64_t offset, int64_t weight, int64_t total, int count);

// The files of one shard of a list, streamed. `firstPass` is a second source
// of the same files in the same order (a second walk, say); it is read to
// its end at construction, quietly, to weigh the whole list and find the
// shard's range. `whole` is then read up to the end of the range (by the
// last shard to its end).
class TShardSource : public engine::TFileSource {
public:
    TShardSource(engine::TFileSource &whole, engine::TFileSource &firstPass, TShard shard);
    bool Next(engine::TSourceFile &file) override;
    // The position in the whole list of this shard's first file.
    qsizetype First() const { return fFirst; }
    // How many files the whole list has.
    qsizetype WholeCount() const { return fWholeCount; }
    // Keeps a report made while the whole list was read (a folder that could
    // not be read) until it is known whose it is: it belongs with the file
    // that follows it, or at the end of the list to the last shard. It is
    // run if that is this shard, and dropped otherwise, so that every report
    // comes once, from one shard, in its place in the whole run.
    void Hold(std::function<void()> report);

private:
    engine::TFileSource &fWhole;
    TShard fShard;
    qsizetype fFirst = 0, fEnd = 0; // this shard's files in the whole list
    qsizetype fWholeCount = 0;
    qsizetype fIndex = 0; // of the next file of fWhole
    bool fDone = false;
    std::vector<std::function<void()>> fHeld;
};

} // namespace cli
