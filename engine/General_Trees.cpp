// SPDX-License-Identifier: GPL-3.0-or-later
#include "General_Trees.h"

#include <cstdio>
#include <cstdlib>
#include <typeinfo>
#include <utility>

TGeneral_Tree::TGeneral_Tree(suite::TCompare2FunctOfObject Compfunct) {
    fCompareFunct = Compfunct ? std::move(Compfunct) : [](void *, void *) { return int32_t{0}; };
    fDoFoundMatchFunct = [this](anything_ptr &item) { Do_Found_Match(item); };
    fDoDeletingFunct = [this](anything_ptr &item) { Do_Deleting(item); };
    fDoAddedOneFunct = [this](anything_ptr &item) { Do_Added_One(item); };
    fDoInOrderFunct = [this](anything_ptr &item) { Do_In_Order(item); };
}

TGeneral_Tree::~TGeneral_Tree() {
    // A subclass's hooks are gone by now: this walk could only reach this
    // class's Do_Deleting, and the subclass's data would leak unseen. So the
    // rule in the header is checked here, where breaking it shows at once.
    if (froot && fFilledBySubclass) {
        std::fputs("TGeneral_Tree: a subclass destructor left its tree filled; it must call "
                   "Clear()\n",
                   stderr);
        std::abort();
    }
    DeletingWalk();
}

void TGeneral_Tree::Clear() {
    fModified = true;
    DeletingWalk();
    fBuiltPtrArray.clear();
    counter = 0;
    froot = nullptr;
}

anything_ptr TGeneral_Tree::Insert(anything_ptr start, const anything &new_one) {
    MyYieldProcess();
    anything_ptr cur = start;
    anything_ptr parent = nullptr;
    while (cur) {
        parent = cur;
        MyYieldProcess();
        const int32_t r = fCompareFunct(new_one.this_, cur->this_);
        if (r == 0) {
            fDoFoundMatchFunct(cur);
            return nullptr;
        }
        cur = r < 0 ? cur->left : cur->right;
    }
    anything_ptr node = new anything(new_one);
    anything_ptr hooked = node;
    fDoAddedOneFunct(hooked);
    node->left = nullptr;
    node->right = nullptr;
    if (!froot) {
        froot = node;
        fFilledBySubclass = typeid(*this) != typeid(TGeneral_Tree);
    } else if (fCompareFunct(new_one.this_, parent->this_) < 0) {
        parent->left = node;
    } else {
        parent->right = node;
    }
    ++counter;
    fModified = true;
    return node;
}

bool TGeneral_Tree::Add_One(const anything &new_one) {
    return Insert(froot, new_one) != nullptr;
}

bool TGeneral_Tree::Add_One_To_Nearest(const anything &new_one) {
    return Insert(nearest_find, new_one) != nullptr;
}

anything_ptr TGeneral_Tree::Add_OnePtr(const anything &new_one) {
    return Insert(froot, new_one);
}

anything_ptr TGeneral_Tree::WhereIs(const anything &new_one) {
    MyYieldProcess();
    anything_ptr cur = froot;
    while (cur) {
        MyYieldProcess();
        nearest_find = cur;
        const int32_t r = fCompareFunct(new_one.this_, cur->this_);
        if (r == 0)
            return cur;
        cur = r < 0 ? cur->left : cur->right;
    }
    return nullptr;
}

anything_ptr TGeneral_Tree::WhereIsApproxMatch(const anything &new_one) {
    MyYieldProcess();
    anything_ptr cur = froot;
    while (cur) {
        const int32_t r = ApproxCompare(new_one.this_, cur->this_);
        if (r == 0)
            return cur;
        cur = r < 0 ? cur->left : cur->right;
    }
    return nullptr;
}

void TGeneral_Tree::Traverse(const TDo_Something &DoInOrder) {
    fModified = false;
    if (!froot)
        return;
    going = 0;
    anything_ptr stack[kMaxPending];
    int pending = 0;
    anything_ptr cur = froot;
    for (;;) {
        MyYieldProcess();
        while (cur) {
            if (pending == kMaxPending)
                throw ETreeError();
            stack[pending++] = cur;
            cur = cur->left;
        }
        if (pending == 0)
            break;
        anything_ptr node = stack[--pending];
        cur = node->right;
        ++going;
        MyYieldProcess();
        if (DoInOrder)
            DoInOrder(node);
        if (!cur && pending == 0)
            break;
    }
}

void TGeneral_Tree::DeletingWalk() {
    going = counter;
    std::vector<anything_ptr> stack;
    anything_ptr cur = froot;
    for (;;) {
        MyYieldProcess();
        while (cur) {
            stack.push_back(cur);
            cur = cur->left;
        }
        if (stack.empty())
            break;
        anything_ptr node = stack.back();
        stack.pop_back();
        cur = node->right;
        --going;
        anything_ptr hooked = node;
        if (fDoDeletingFunct)
            fDoDeletingFunct(hooked);
        delete node;
    }
    froot = nullptr;
    fReorderPtrArray.clear();
}

int32_t TGeneral_Tree::BuildPtrArray(const TFilterItOut &FilterOutCriterion,
                                     const TDo_Something &DoInOrderAfterwards) {
    built_len = 0;
    fBuiltPtrArray.assign(static_cast<size_t>(counter), nullptr);
    FilteredOut = FilterOutCriterion;
    Traverse([this](anything_ptr &item) {
        if (FilteredOut && FilteredOut(item))
            return;
        if (IsASeed(item->this_))
            return;
        fBuiltPtrArray[static_cast<size_t>(built_len++)] = item->this_;
    });
    fBuiltPtrArray.resize(static_cast<size_t>(built_len));
    if (DoInOrderAfterwards) {
        fDoInOrderFunct = DoInOrderAfterwards;
        TraverseArray(fBuiltPtrArray);
    }
    return built_len;
}

void TGeneral_Tree::QuickSort(TTreeArrayOfPointer &arr, int L, int R) {
    // Iterative on the larger side would change the order of comparisons;
    // the recursion mirrors the classic sort exactly.
    void *pivot = arr[static_cast<size_t>((L + R) / 2)];
    int i = L, j = R;
    do {
        while (fCompareFunct(arr[static_cast<size_t>(i)], pivot) < 0)
            ++i;
        while (fCompareFunct(pivot, arr[static_cast<size_t>(j)]) < 0)
            --j;
        if (i <= j) {
            std::swap(arr[static_cast<size_t>(i)], arr[static_cast<size_t>(j)]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (L < j)
        QuickSort(arr, L, j);
    if (i < R)
        QuickSort(arr, i, R);
}

void TGeneral_Tree::SortBuiltArray() {
    if (fBuiltPtrArray.size() >= 2)
        QuickSort(fBuiltPtrArray, 0, static_cast<int>(fBuiltPtrArray.size()) - 1);
}

void TGeneral_Tree::SortBuiltArray(const suite::TCompare2FunctOfObject &NewCompare) {
    fCompareFunct = NewCompare;
    SortBuiltArray();
}

void TGeneral_Tree::TraverseArray(Tarray_of_anything_ptr &arr) {
    going = 0;
    for (auto &entry : arr) {
        ++going;
        if (entry && fDoInOrderFunct)
            fDoInOrderFunct(entry);
    }
}

void TGeneral_Tree::TraverseArray(const TTreeArrayOfPointer &arr) {
    going = 0;
    for (void *entry : arr) {
        ++going;
        if (!entry)
            continue;
        anything node;
        node.this_ = entry;
        anything_ptr ref = &node;
        if (fDoInOrderFunct)
            fDoInOrderFunct(ref);
    }
}

void TGeneral_Tree::TraverseReordering(const suite::TCompare2FunctOfObject &NewCompare,
                                       const TDo_Something &NewDoInOrder) {
    fReorderPtrArray.assign(static_cast<size_t>(counter), nullptr);
    fCompareFunct = NewCompare;
    fDoInOrderFunct = [this](anything_ptr &item) {
        if (!item->this_)
            return;
        current.this_ = item->this_;
        fReorderPtrArray[static_cast<size_t>(going - 1)] = item->this_;
    };
    Traverse();
    if (fReorderPtrArray.size() >= 2)
        QuickSort(fReorderPtrArray, 0, counter - 1);
    fDoInOrderFunct = NewDoInOrder;
    TraverseArray(fReorderPtrArray);
}

void TGeneral_Tree::CopyFrom(TGeneral_Tree &Another, const TDo_Something &AnothersDoInOrder,
                             bool ClearSelf, bool ClearAnother) {
    if (ClearSelf)
        Clear();
    Another.fDoInOrderFunct = AnothersDoInOrder;
    Another.Traverse();
    if (ClearAnother)
        Another.Clear();
}

int32_t TGeneral_Tree::ApproxCompare(void *, void *) {
    return 0;
}
bool TGeneral_Tree::IsASeed(void *) {
    return false;
}
void TGeneral_Tree::Do_Found_Match(anything_ptr &) {}
void TGeneral_Tree::Do_Added_One(anything_ptr &) {}
void TGeneral_Tree::Do_In_Order(anything_ptr &) {}
void TGeneral_Tree::Do_Deleting(anything_ptr &) {}
void TGeneral_Tree::Seed_Tree() {}
