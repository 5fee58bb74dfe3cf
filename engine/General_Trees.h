// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TGeneral_Tree: an unbalanced ordered binary tree over caller-owned data.
//
// The tree stores one untyped pointer per node and reports what happens
// through replaceable hooks (a match on insertion, a node added, a node
// visited in order, a node about to be deleted). Subclasses override the
// virtual hooks; a caller may rebind any hook afterwards.
//
// Destruction: by the time the base destructor runs, a subclass's overrides
// are gone, so it could only call this class's Do_Deleting. Every subclass
// therefore calls Clear() in its own destructor (its hooks still run then);
// the base destructor aborts the program when a subclass left nodes behind.
//
// Every walk is iterative. The in-order walk keeps at most 2047 pending nodes
// and raises ETreeError ("lopsided data: stack overflow in Tree") when it
// would need a 2048th; the deleting walk has no limit, so a tree can always be
// freed. Insertion, lookup and the walks call MyYieldProcess() as they go, so
// hooks and callers must not change the tree while an operation runs.

#include "Mykpsmall.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

// One node. `this_` is the caller's data (the field is called `this` in the
// suite's own sources, a reserved word here).
struct anything;
using anything_ptr = anything *;
struct anything {
    void *this_ = nullptr;
    anything_ptr left = nullptr;
    anything_ptr right = nullptr;
};

using TTreeArrayOfPointer = std::vector<void *>;
using Tarray_of_anything_ptr = std::vector<anything_ptr>;
using TDo_Something = std::function<void(anything_ptr &item)>;
using TFilterItOut = std::function<bool(anything_ptr &item)>;

class ETreeError : public std::runtime_error {
public:
    ETreeError() : std::runtime_error(kMessage) {}
    static constexpr const char *kMessage = "lopsided data: stack overflow in Tree";
};

class TGeneral_Tree {
public:
    // Without a comparison every pair compares equal, so the tree keeps one node.
    explicit TGeneral_Tree(suite::TCompare2FunctOfObject Compfunct = {});
    virtual ~TGeneral_Tree();
    TGeneral_Tree(const TGeneral_Tree &) = delete;
    TGeneral_Tree &operator=(const TGeneral_Tree &) = delete;

    // The largest number of pending nodes an in-order walk may hold.
    static constexpr int kMaxPending = 2047;

    void Clear();
    bool Add_One(const anything &new_one);
    // Only directly after WhereIs for the same key on the same unchanged tree.
    bool Add_One_To_Nearest(const anything &new_one);
    anything_ptr Add_OnePtr(const anything &new_one);
    anything_ptr WhereIs(const anything &new_one);
    anything_ptr WhereIsApproxMatch(const anything &new_one);

    void Traverse(const TDo_Something &DoInOrder);
    void Traverse() { Traverse(fDoInOrderFunct); }

    int32_t BuildPtrArray(const TFilterItOut &FilterOutCriterion,
                          const TDo_Something &DoInOrderAfterwards);
    void SortBuiltArray();
    void SortBuiltArray(const suite::TCompare2FunctOfObject &NewCompare);
    void TraverseArray(Tarray_of_anything_ptr &arr);
    void TraverseArray(const TTreeArrayOfPointer &arr);
    void TraverseReordering(const suite::TCompare2FunctOfObject &NewCompare,
                            const TDo_Something &NewDoInOrder);
    void CopyFrom(TGeneral_Tree &Another, const TDo_Something &AnothersDoInOrder, bool ClearSelf,
                  bool ClearAnother);
    void Do_Nowt(anything_ptr &) {}

    // Virtual operations, in slot order.
    virtual int32_t ApproxCompare(void *a, void *b);
    virtual bool IsASeed(void *a);
    virtual void Do_Found_Match(anything_ptr &item);
    virtual void Do_Added_One(anything_ptr &item);
    virtual void Do_In_Order(anything_ptr &item);
    virtual void Do_Deleting(anything_ptr &item);
    virtual void Seed_Tree();

    // Properties.
    const TTreeArrayOfPointer &BuiltArray() const { return fBuiltPtrArray; }
    bool Modified() const { return fModified; }
    anything_ptr Root() const { return froot; }
    TFilterItOut FilteredOut;
    void SetDoFoundMatchFunction(TDo_Something f) { fDoFoundMatchFunct = std::move(f); }
    void SetDoInOrderFunction(TDo_Something f) { fDoInOrderFunct = std::move(f); }
    void SetDoAddedOneFunction(TDo_Something f) { fDoAddedOneFunct = std::move(f); }
    void SetDoDeletingFunction(TDo_Something f) { fDoDeletingFunct = std::move(f); }
    void SetCompareFunction(suite::TCompare2FunctOfObject f) { fCompareFunct = std::move(f); }
    const TDo_Something &DoInOrderFunction() const { return fDoInOrderFunct; }

    anything_ptr nearest_find = nullptr;
    int32_t counter = 0;
    int32_t going = 0;
    anything current;
    int32_t built_len = 0;

protected:
    TTreeArrayOfPointer fBuiltPtrArray;
    TTreeArrayOfPointer fReorderPtrArray;
    bool fModified = false;
    TDo_Something fDoFoundMatchFunct;
    TDo_Something fDoInOrderFunct;
    TDo_Something fDoAddedOneFunct;
    TDo_Something fDoDeletingFunct;
    suite::TCompare2FunctOfObject fCompareFunct;
    anything_ptr froot = nullptr;

private:
    // The nodes were added while the object was a subclass (see the top).
    bool fFilledBySubclass = false;
    anything_ptr Insert(anything_ptr start, const anything &new_one);
    void DeletingWalk();
    void QuickSort(TTreeArrayOfPointer &arr, int L, int R);
};
