// SPDX-License-Identifier: GPL-3.0-or-later
#include "Shards.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The 0-based shard of each file of `weights`, cut into `count`.
std::vector<int> Cut(const std::vector<int64_t> &weights, int count) {
    int64_t total = 0;
    for (const int64_t w : weights)
        total += w;
    std::vector<int> shards;
    int64_t offset = 0;
    for (const int64_t w : weights) {
        shards.push_back(cli::ShardOf(offset, w, total, count));
        offset += w;
    }
    return shards;
}

} // namespace

TEST(Shards, SmallListsAreCutWhereExpected) {
    struct Case {
        const char *what;
        std::vector<int64_t> weights;
        int count;
        std::vector<int> shards;
    } cases[] = {
        {"equal files, two shards", {10, 10, 10, 10}, 2, {0, 0, 1, 1}},
        {"equal files, as many shards", {10, 10, 10}, 3, {0, 1, 2}},
        {"more shards than files", {10, 10}, 4, {1, 3}},
        {"one big file first", {100, 1, 1, 1}, 2, {0, 1, 1, 1}},
        {"one big file last", {1, 1, 1, 100}, 2, {0, 0, 0, 1}},
        {"one shard", {5, 7, 9}, 1, {0, 0, 0}},
    };
    for (const Case &k : cases)
        EXPECT_EQ(Cut(k.weights, k.count), k.shards) << k.what;
}

TEST(Shards, RandomListsGiveContiguousBalancedShards) {
    std::mt19937_64 rng(3);
    for (int round = 0; round < 200; ++round) {
        const int count = 1 + int(rng() % 40);
        std::vector<int64_t> weights(1 + rng() % 500);
        int64_t total = 0, biggest = 0;
        for (int64_t &w : weights) {
            // Mostly small files, now and then a huge one.
            w = cli::kShardFileCost + int64_t(rng() % 20000) * (rng() % 50 == 0 ? 100000 : 1);
            total += w;
            biggest = std::max(biggest, w);
        }
        const std::vector<int> shards = Cut(weights, count);
        std::vector<int64_t> load(size_t(count), 0);
        for (size_t i = 0; i < weights.size(); ++i) {
            ASSERT_GE(shards[i], 0);
            ASSERT_LT(shards[i], count);
            if (i > 0) {
                ASSERT_GE(shards[i], shards[i - 1]) << "not contiguous";
            }
            load[size_t(shards[i])] += weights[i];
        }
        // No shard carries more than its share and one file.
        for (const int64_t l : load)
            EXPECT_LE(l, total / count + biggest + 1);
    }
}

TEST(Shards, HugeCorporaDoNotOverflow) {
    const int64_t pb = int64_t(1) << 53; // 8 PiB
    EXPECT_EQ(cli::ShardOf(pb - 1, 1, pb, 1000000), 999999);
    EXPECT_EQ(cli::ShardOf(0, 1, pb, 1000000), 0);
    EXPECT_EQ(cli::ShardOf(pb / 2, 2, pb, 2), 1);
}

TEST(Shards, ShardOptionText) {
    struct Case {
        const char *text;
        std::optional<std::pair<int, int>> shard;
    } cases[] = {
        {"1/1", std::pair{1, 1}},
        {"3/8", std::pair{3, 8}},
        {"8/8", std::pair{8, 8}},
        {"0/8", {}},
        {"9/8", {}},
        {"3/0", {}},
        {"3", {}},
        {"/8", {}},
        {"a/b", {}},
        {"-1/8", {}},
        {"1/8/2", {}},
        {"1/99999999999", {}},
    };
    for (const Case &k : cases) {
        const auto shard = cli::ParseShard(QString::fromLatin1(k.text));
        EXPECT_EQ(shard.has_value(), k.shard.has_value()) << k.text;
        if (shard && k.shard) {
            EXPECT_EQ(std::pair(shard->index, shard->count), *k.shard) << k.text;
        }
    }
}
