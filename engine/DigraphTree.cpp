// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigraphTree.h"

TDigraphTree::TDigraphTree(int32_t aMinFreq)
    : TGeneral_Tree(&TDigraphTree::Compare), min_freq(aMinFreq),
      sorted_results(std::make_unique<suite::TMySaveStringList>(false)) {
    Seed_Tree();
}

TDigraphTree::~TDigraphTree() {
    // The base destructor can no longer reach this class's Do_Deleting, so
    // the records are freed here.
    Clear();
    sorted_results.reset();
}

int32_t TDigraphTree::Compare(void *a, void *b) {
    const char16_t *x = static_cast<digraph_rec *>(a)->chars;
    const char16_t *y = static_cast<digraph_rec *>(b)->chars;
    for (int i = 0;; ++i) {
        if (x[i] != y[i])
            return int32_t(x[i]) - int32_t(y[i]);
        if (x[i] == 0)
            return 0;
    }
}

void TDigraphTree::Do_Found_Match(anything_ptr &item) {
    static_cast<digraph_rec *>(item->this_)->count += 1 + fPendingExtra;
}

void TDigraphTree::Do_In_Order(anything_ptr &item) {
    auto *rec = static_cast<digraph_rec *>(item->this_);
    if (rec && rec->count >= min_freq)
        sorted_results->AddObject(QString(reinterpret_cast<const QChar *>(rec->chars), 2),
                                  rec->count);
}

void TDigraphTree::Do_Deleting(anything_ptr &item) {
    delete static_cast<digraph_rec *>(item->this_);
    item->this_ = nullptr;
}

// No seeds: the first distinct digraphs shape the top of the tree.
void TDigraphTree::Seed_Tree() {}

void TDigraphTree::AddDigraph(char16_t first, char16_t second) {
    AddDigraphCount(first, second, 1);
}

void TDigraphTree::AddDigraphCount(char16_t first, char16_t second, int64_t count) {
    auto *rec = new digraph_rec;
    rec->chars[0] = first;
    rec->chars[1] = second;
    rec->count = count;
    current.this_ = rec;
    fPendingExtra = count - 1;
    const bool added = Add_One(current);
    fPendingExtra = 0;
    if (!added)
        delete rec;
}

void TDigraphTree::MakeProfileList() {
    Traverse();
    sorted_results->SetSorted(true);
    Clear();
}
