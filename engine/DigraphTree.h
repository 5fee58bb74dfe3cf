// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TDigraphTree counts digraphs and turns the counts into a profile list.
//
// A digraph is a letter followed by a letter or a space (see DigraphCounter.h for
// which positions of a text start one). Each occurrence offered through
// AddDigraph costs one insertion walk; the detector's fast path instead
// counts a text in a flat table and offers each distinct digraph once, in
// order of first occurrence, through AddDigraphCount, which gives the same
// tree shape (and so the same depth error) and the same profile list.

#include "General_Trees.h"
#include "Myfilestreamu.h"

#include <cstdint>
#include <memory>

struct digraph_rec {
    char16_t chars[3] = {0, 0, 0};
    int64_t count = 1;
};

class TDigraphTree : public TGeneral_Tree {
public:
    explicit TDigraphTree(int32_t aMinFreq);
    ~TDigraphTree() override;

    static int32_t Compare(void *a, void *b);

    void Do_Found_Match(anything_ptr &item) override;
    void Do_In_Order(anything_ptr &item) override;
    void Do_Deleting(anything_ptr &item) override;
    void Seed_Tree() override;

    // One occurrence of the digraph (first, second).
    void AddDigraph(char16_t first, char16_t second);
    // `count` occurrences at once: the same as AddDigraph `count` times in a row.
    void AddDigraphCount(char16_t first, char16_t second, int64_t count);
    // Walks the tree into `sorted_results` (count >= min_freq), sorts the list
    // and empties the tree. Throws ETreeError on a lopsided tree.
    void MakeProfileList();

    int32_t min_freq;
    std::unique_ptr<suite::TMySaveStringList> sorted_results;

private:
    int64_t fPendingExtra = 0;
};
