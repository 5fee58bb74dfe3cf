// SPDX-License-Identifier: GPL-3.0-or-later
#include "General_Trees.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

int32_t CompareInts(void *a, void *b) {
    return *static_cast<int *>(a) - *static_cast<int *>(b);
}

// A tree over ints it does not own, recording what its hooks see.
struct IntTree : TGeneral_Tree {
    IntTree() : TGeneral_Tree(&CompareInts) {}
    IntTree(std::nullptr_t) : TGeneral_Tree() {}
    std::vector<int> inOrder, found, deleting;
    std::vector<int> goings, deletingGoings;
    void Do_In_Order(anything_ptr &item) override {
        inOrder.push_back(*static_cast<int *>(item->this_));
        goings.push_back(going);
    }
    void Do_Found_Match(anything_ptr &item) override {
        found.push_back(*static_cast<int *>(item->this_));
    }
    ~IntTree() override { Clear(); }
};

struct Keys {
    std::vector<std::unique_ptr<int>> store;
    void *make(int v) {
        store.push_back(std::make_unique<int>(v));
        return store.back().get();
    }
};

bool Add(TGeneral_Tree &t, Keys &k, int v) {
    anything rec;
    rec.this_ = k.make(v);
    return t.Add_One(rec);
}

} // namespace

TEST(GeneralTree, InOrderWalkSeesKeysAscendingWithPositions) {
    Keys k;
    IntTree t;
    for (int v : {5, 3, 8, 1, 4, 9, 7})
        EXPECT_TRUE(Add(t, k, v));
    EXPECT_EQ(t.counter, 7);
    t.Traverse();
    EXPECT_EQ(t.inOrder, (std::vector<int>{1, 3, 4, 5, 7, 8, 9}));
    EXPECT_EQ(t.goings, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(t.Modified());
}

TEST(GeneralTree, DuplicateKeyCallsFoundMatchAndAddsNothing) {
    Keys k;
    IntTree t;
    Add(t, k, 2);
    Add(t, k, 6);
    EXPECT_FALSE(Add(t, k, 6));
    EXPECT_EQ(t.found, std::vector<int>{6});
    EXPECT_EQ(t.counter, 2);
}

TEST(GeneralTree, WithoutComparisonEveryKeyMatchesTheRoot) {
    Keys k;
    IntTree t(nullptr);
    EXPECT_TRUE(Add(t, k, 1));
    EXPECT_FALSE(Add(t, k, 2));
    EXPECT_FALSE(Add(t, k, 3));
    EXPECT_EQ(t.counter, 1);
    EXPECT_EQ(t.found, (std::vector<int>{1, 1}));
}

// A chain of left links: the walk holds every node of it pending at once.
TEST(GeneralTree, LeftChainLimitIs2047PendingNodes) {
    struct Case {
        int keys;
        bool descending;
        bool raises;
    } cases[] = {{2047, true, false}, {2048, true, true}, {5000, false, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.keys);
        Keys k;
        IntTree t;
        for (int i = 0; i < c.keys; ++i)
            Add(t, k, c.descending ? c.keys - i : i);
        if (c.raises) {
            try {
                t.Traverse();
                FAIL() << "no error";
            } catch (const ETreeError &e) {
                EXPECT_STREQ(e.what(), "lopsided data: stack overflow in Tree");
            }
            EXPECT_TRUE(t.inOrder.empty()) << "hook called before the error";
            EXPECT_EQ(t.counter, c.keys);
        } else {
            t.Traverse();
            EXPECT_EQ(int(t.inOrder.size()), c.keys);
        }
    }
}

TEST(GeneralTree, DeletingWalkCountsDownAndFreesAnyShape) {
    Keys k;
    IntTree t;
    std::vector<int> seen;
    std::vector<int> goings;
    t.SetDoDeletingFunction([&](anything_ptr &item) {
        seen.push_back(*static_cast<int *>(item->this_));
        goings.push_back(t.going);
    });
    for (int v : {2, 1, 3})
        Add(t, k, v);
    t.Clear();
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(goings, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(t.counter, 0);
    EXPECT_EQ(t.Root(), nullptr);
    EXPECT_TRUE(t.Modified());

    // Far deeper than the in-order walk's limit: still freed.
    for (int i = 0; i < 10000; ++i)
        Add(t, k, -i);
    t.SetDoDeletingFunction({});
    t.Clear();
    EXPECT_EQ(t.counter, 0);
}

TEST(GeneralTree, EmptyTreeClearAndTraverse) {
    IntTree t;
    t.Clear();
    EXPECT_TRUE(t.Modified());
    t.Traverse();
    EXPECT_FALSE(t.Modified());
    EXPECT_TRUE(t.inOrder.empty());
}

TEST(GeneralTree, LookupsAndNearest) {
    Keys k;
    IntTree t;
    for (int v : {50, 30, 70, 60})
        Add(t, k, v);
    int probe = 60;
    anything rec;
    rec.this_ = &probe;
    anything_ptr hit = t.WhereIs(rec);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(*static_cast<int *>(hit->this_), 60);
    probe = 65;
    EXPECT_EQ(t.WhereIs(rec), nullptr);
    EXPECT_EQ(*static_cast<int *>(t.nearest_find->this_), 60);
    rec.this_ = k.make(65);
    EXPECT_TRUE(t.Add_One_To_Nearest(rec));
    EXPECT_EQ(t.WhereIsApproxMatch(rec), t.Root()); // the base's approximation is "equal"
    rec.this_ = k.make(65);
    EXPECT_EQ(t.Add_OnePtr(rec), nullptr);
    rec.this_ = k.make(10);
    anything_ptr added = t.Add_OnePtr(rec);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(*static_cast<int *>(added->this_), 10);
    t.Traverse();
    EXPECT_EQ(t.inOrder, (std::vector<int>{10, 30, 50, 60, 65, 70}));
}

TEST(GeneralTree, CollectingSortingAndArrayWalks) {
    Keys k;
    IntTree t;
    for (int v : {4, 2, 6, 1, 3, 5, 7})
        Add(t, k, v);
    // Leave out the odd keys.
    const int32_t n = t.BuildPtrArray(
        [](anything_ptr &item) { return *static_cast<int *>(item->this_) % 2 == 1; }, {});
    EXPECT_EQ(n, 3);
    ASSERT_EQ(t.BuiltArray().size(), 3u);
    EXPECT_EQ(*static_cast<int *>(t.BuiltArray()[0]), 2);

    EXPECT_EQ(t.BuildPtrArray([](anything_ptr &) { return true; }, {}), 0);
    EXPECT_TRUE(t.BuiltArray().empty());

    // Collect all, then sort descending and walk the array afterwards.
    std::vector<int> after;
    t.BuildPtrArray({},
                    [&](anything_ptr &item) { after.push_back(*static_cast<int *>(item->this_)); });
    EXPECT_EQ(after, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    t.SortBuiltArray(
        [](void *a, void *b) { return *static_cast<int *>(b) - *static_cast<int *>(a); });
    after.clear();
    t.TraverseArray(t.BuiltArray());
    EXPECT_EQ(after, (std::vector<int>{7, 6, 5, 4, 3, 2, 1}));

    // None entries are skipped but counted.
    std::vector<int> goings;
    t.SetDoInOrderFunction([&](anything_ptr &) { goings.push_back(t.going); });
    TTreeArrayOfPointer withGaps{k.make(1), nullptr, k.make(3)};
    t.TraverseArray(withGaps);
    EXPECT_EQ(goings, (std::vector<int>{1, 3}));
}

TEST(GeneralTree, ReorderedWalkAndCopy) {
    Keys k;
    IntTree t;
    for (int v : {3, 1, 2})
        Add(t, k, v);
    std::vector<int> seen;
    t.TraverseReordering(
        [](void *a, void *b) { return *static_cast<int *>(b) - *static_cast<int *>(a); },
        [&](anything_ptr &item) { seen.push_back(*static_cast<int *>(item->this_)); });
    EXPECT_EQ(seen, (std::vector<int>{3, 2, 1}));

    IntTree other;
    for (int v : {9, 8})
        Add(other, k, v);
    t.SetCompareFunction(&CompareInts);
    t.CopyFrom(
        other,
        [&](anything_ptr &item) {
            anything rec;
            rec.this_ = item->this_;
            t.Add_One(rec);
        },
        false, true);
    EXPECT_EQ(other.counter, 0);
    std::vector<int> copied;
    t.Traverse([&](anything_ptr &item) { copied.push_back(*static_cast<int *>(item->this_)); });
    EXPECT_EQ(copied, (std::vector<int>{1, 2, 3, 8, 9}));
}

TEST(GeneralTree, InsertionYieldsAtStartAndAtEveryNode) {
    int yields = 0;
    AYieldProcessProc = {[](void *o) { ++*static_cast<int *>(o); }, &yields};
    Keys k;
    IntTree t;
    Add(t, k, 5); // empty tree: one yield
    Add(t, k, 3); // one node passed
    Add(t, k, 4); // two nodes passed
    AYieldProcessProc = {};
    EXPECT_EQ(yields, 1 + 2 + 3);
}

// A subclass that forgets to Clear() in its destructor would leak its data
// through the base's deleting hook: the base stops it at once.
TEST(GeneralTreeDeathTest, ASubclassThatLeavesItsTreeFilledIsStopped) {
    struct Forgetful : TGeneral_Tree {
        Forgetful() : TGeneral_Tree(&CompareInts) {}
    };
    Keys k;
    EXPECT_DEATH(
        {
            Forgetful t;
            Add(t, k, 1);
        },
        "must call Clear");
    // Emptied in time, or a plain tree with a rebound hook, is fine.
    {
        Forgetful t;
        Add(t, k, 1);
        t.Clear();
    }
    int deleted = 0;
    {
        TGeneral_Tree t(&CompareInts);
        t.SetDoDeletingFunction([&](anything_ptr &) { ++deleted; });
        Add(t, k, 1);
        Add(t, k, 2);
    }
    EXPECT_EQ(deleted, 2);
}
