// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Counting the digraphs of texts.
//
// Position i of a text starts a digraph when the (upper-cased) unit at i is a
// letter and the unit at i + 1 exists and is a space or a letter. Every
// position is examined, so occurrences overlap (THE holds TH and HE).
//
// TPairCounts keeps each distinct digraph with its count, in order of first
// occurrence: that order alone fixes the shape of the digraph tree, so
// replaying it gives the tree's profile and its depth error exactly.
// TByteDigraphCounter is the fast path for 8-bit text: a flat table indexed
// by small letter ids, with no work per byte beyond finding the pair's cell
// from its two bytes and one increment; it
// does not know the order of first occurrence, so a text with 2048 or more
// distinct digraphs (the least that can overflow the tree's walk) is counted
// again in order.

#include "TextTables.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

// A digraph as one key: first unit in the high half, second in the low half,
// so key order is code-unit order.
inline uint32_t DigraphKey(char16_t first, char16_t second) {
    return (uint32_t(first) << 16) | second;
}

// A digraph and its count.
struct TProfileEntry {
    uint32_t key;
    int64_t count;
};

// The line breaks of a text.
struct TLineBreaks {
    int64_t cr = 0, lf = 0, crlf = 0;
};

// What a pair table tells of the whitespace that has ids of its own (SPACE,
// CR, LF): those units, the CRs and LFs, the pairs of one of them then a
// unit that is none of them, and the pairs of one of them twice.
struct TWhitePairs {
    int64_t white = 0, breaks = 0, toOther = 0, same = 0;
};

// What a byte table tells of 8-bit text beyond its digraphs (see TPairId).
// Every byte counted is the second of one pair, so a column's sum is how
// often its bytes occur.
struct TBytePairFigures {
    int64_t white = 0;  // SPACE, TAB, LF, VT, FF, CR
    int64_t breaks = 0; // CR, LF
    // A byte that is not whitespace after one that is (the text's first
    // byte not counted).
    int64_t tokenStarts = 0;
    // The most pairs of one id twice, of the ids that are not whitespace:
    // at least the adjacent repeats of any one byte (an id is a letter's two
    // cases, or all other ASCII).
    int64_t sameIds = 0;
    int64_t controls = 0;  // C0 controls but TAB, LF, VT, FF and CR
    int64_t undefined = 0; // 0x81, 0x8D, 0x8F, 0x90, 0x9D
    int64_t high = 0;      // bytes above ASCII
    // Upper bounds, by id: a UTF-8 lead byte (C2 to F4) followed by a
    // continuation byte (80 to BF); EF followed by BF (U+FFFD begins so).
    int64_t leadPairs = 0;
    int64_t replacementStarts = 0;
};

// What a text's digraph counts come to.
struct TCountSummary {
    size_t distinct = 0;
    int64_t total = 0;
};

class TPairCounts {
public:
    TPairCounts();
    // `n` occurrences of `key`; a new key goes to the end of the order.
    void Add(uint32_t key, int64_t n);
    // Counts the digraphs of UTF-16 units (not yet upper-cased). `prev` is the
    // upper-cased unit before this block (0 at the start of a text).
    void AddUnits(const char16_t *p, size_t n, char16_t &prev);
    // The same for Windows-1252 bytes.
    void AddBytes(const uint8_t *p, size_t n, char16_t &prev);

    size_t Distinct() const { return fOrder.size(); }
    int64_t Total() const { return fTotal; }
    // Keys in order of first occurrence (only when OrderKnown()).
    const std::vector<uint32_t> &Order() const { return fOrder; }
    int64_t CountOf(uint32_t key) const;
    bool OrderKnown() const { return fOrderKnown; }
    void SetOrderUnknown() { fOrderKnown = false; }
    void Clear();

private:
    template <class U, class Upper> void AddText(const U *p, size_t n, char16_t &prev, Upper upper);
    size_t Slot(uint32_t key) const;
    void Grow();
    std::vector<uint32_t> fKeys; // 0 = empty slot; a digraph key is never 0
    std::vector<int64_t> fCounts;
    std::vector<uint32_t> fOrder;
    std::vector<size_t> fClearSlots;
    size_t fMask;
    int64_t fTotal = 0;
    bool fOrderKnown = true;
};

// Tests only: the 32-bit counters are folded into 64-bit totals after this
// many pairs instead of 2^31 (0 restores that), so that short texts take the
// folded paths. Larger values are taken as 2^31.
void SetFoldAfterForTesting(uint64_t pairs);

// A square table of pair counts indexed by small ids (TPairId). The 32-bit
// counters are folded into 64-bit totals before they can wrap, so a text of
// any length counts exactly.
//
// The table may have several lanes, copies that the counting loop uses in
// turn, so that a pair met twice in a row does not wait on its own last
// increment. Every read adds them up first; they always hold every pair
// counted.
class TFlatPairTable {
public:
    TFlatPairTable(uint32_t stride, uint32_t lanes = 1);
    // Lane `lane` of the counts, to be incremented within CountInPieces.
    uint32_t *Counts(uint32_t lane = 0) {
        if (lane > 0)
            fMerged = false;
        return fCounts.data() + size_t(lane) * fStride * fStride;
    }
    uint32_t Stride() const { return fStride; }
    // Calls count(at, k) for consecutive pieces [at, at + k) of [0, n), each
    // small enough that no cell can pass the fold point, and folds between
    // them as needed.
    template <class Count> void CountInPieces(size_t n, Count &&count) {
        for (size_t at = 0; at < n;) {
            const size_t k = size_t(std::min<uint64_t>(n - at, Room()));
            count(at, k);
            Counted(k);
            at += k;
        }
    }
    // Digraphs (letter row, letter-or-space column) among ids below `ids`.
    size_t Distinct(uint32_t ids) const;
    void FlushInto(TPairCounts &into, uint32_t ids, const char16_t *idUnit) const;
    // The CRs, LFs and CR LF pairs counted among ids below `ids`.
    TLineBreaks Breaks(uint32_t ids) const;
    TWhitePairs WhitePairs(uint32_t ids) const;
    // Calls visit(a, b, count) for every cell among ids below `ids` that
    // holds a count.
    template <class Visit> void ForEachCounted(uint32_t ids, Visit &&visit) const;
    void Clear(uint32_t ids);
    // The same over the whole table, visiting only the cells a text touched:
    // one quick pass finds them, so a short text costs little however large
    // the table.
    size_t DistinctTouched() const;
    void FlushTouchedInto(TPairCounts &into, const char16_t *idUnit) const;
    void ClearTouched();
    // Reads the digraph cells among ids below `ids` and clears the table, in
    // one pass that skips the untouched cells: appends those counted at least
    // `minCount` times to `kept`, in row-major order, and returns what all of
    // them come to.
    TCountSummary Take(uint32_t ids, const char16_t *idUnit, int64_t minCount,
                       std::vector<TProfileEntry> &kept);

private:
    uint64_t At(uint32_t a, uint32_t b) const {
        const size_t at = size_t(a) * fStride + b;
        return fCounts[at] + (fFolded ? fTotals[at] : 0);
    }
    // Pairs that may be counted before the next Counted() call.
    uint64_t Room() const;
    // Call after counting `n` more pairs (at most Room()).
    void Counted(size_t n);
    // Adds the other lanes into lane 0 over the ids below `ids` (outside
    // them nothing may have been counted) and clears them.
    void Merge(uint32_t ids) const;
    void Fold();
    // The nonzero cells, in row-major order (only while nothing was folded).
    const std::vector<uint32_t> &Touched() const;
    bool Digraph(uint32_t cell) const {
        const uint32_t b = cell % fStride;
        return cell / fStride >= kFirstLetterId && (b == kSpaceId || b >= kFirstLetterId);
    }
    // Calls visit(a, b, count) for the digraph cells among ids below `ids`
    // that hold a count, in row-major order.
    template <class Visit> void ForEachDigraph(uint32_t ids, Visit &&visit) const;
    mutable std::vector<uint32_t> fTouched;
    mutable bool fScanned = false;
    mutable bool fMerged = true;
    uint32_t fStride;
    uint32_t fLanes;
    uint64_t fSinceFold = 0;
    bool fFolded = false;
    // Merging moves counts between lanes without changing what they add up
    // to, so a read that merges is still a read.
    mutable std::vector<uint32_t> fCounts;
    std::vector<uint64_t> fTotals;
};

class TByteDigraphCounter {
public:
    TByteDigraphCounter();
    // Windows-1252 bytes of one text, block by block.
    void Feed(const uint8_t *p, size_t n);
    // Adds this text's counts to `into` (order unknown) and starts afresh.
    void FlushInto(TPairCounts &into);
    // Distinct digraphs counted since the last flush.
    size_t Distinct() const;
    // The line breaks among the bytes fed since the last flush.
    TLineBreaks Breaks() const;
    TBytePairFigures Figures() const;
    // Whether the bytes of the last Feed held any above ASCII.
    bool LastFeedHadHighBytes() const { return fLastFeedHigh; }
    void Reset();
    // This text's digraphs counted at least `minCount` times, appended to
    // `kept` in key order (letter ids follow their units), and what all of
    // them come to; then starts afresh.
    TCountSummary Take(int64_t minCount, std::vector<TProfileEntry> &kept);

private:
    // The pairs of one part, within the counters' room; true when a byte
    // of it is above ASCII.
    bool FeedPart(const uint8_t *p, size_t n);
    uint32_t fPrev = 0; // the previous byte (0, not a letter, at the start)
    // A byte of 0x80 or above was fed: without one, only the ids of ASCII
    // bytes can have been counted, and the rest of the table is not read.
    bool fHighBytes = false;
    bool fLastFeedHigh = false;
    TFlatPairTable fTable;
};

// The fast path for UTF-16 units: each distinct unit met in the text gets a
// small id on first sight (letters by their upper-cased form), and pairs of
// ids are counted in a flat table. A text with more distinct letters than
// the table has room for (kMaxLetters) reports Overflowed() and must be
// counted in order instead.
class TWideDigraphCounter {
public:
    static constexpr int kMaxLetters = 256 - kFirstLetterId;
    static constexpr uint32_t kStride = 256;

    TWideDigraphCounter();
    void Feed(const char16_t *p, size_t n);
    bool Overflowed() const { return fOverflowed; }
    size_t Distinct() const;
    // The line breaks among the units fed since the last flush (exact even
    // when Overflowed()).
    TLineBreaks Breaks() const { return fTable.Breaks(fNext); }
    TWhitePairs WhitePairs() const { return fTable.WhitePairs(fNext); }
    void FlushInto(TPairCounts &into);
    void Reset();
    // As TByteDigraphCounter::Take, but `kept` is in no particular order.
    TCountSummary Take(int64_t minCount, std::vector<TProfileEntry> &kept);

private:
    void FeedPart(const char16_t *p, size_t n);
    uint32_t Assign(char16_t unit);
    void ForgetIds();
    static constexpr uint16_t kUnseen = 0xFFFF;
    // The id of a unit met before, kUnseen for one not yet given an id.
    uint32_t Id(char16_t unit) {
        const uint32_t id = fId[unit];
        return id != kUnseen ? id : Assign(unit);
    }
    std::vector<uint16_t> fId;      // raw unit -> id (kUnseen: not yet seen)
    std::vector<uint16_t> fUpperId; // upper-cased letter -> id (0: none yet)
    std::vector<char16_t> fSeen;    // raw units given an id, to undo
    std::vector<char16_t> fIdUnit;  // id -> upper-cased unit
    uint32_t fNext = kFirstLetterId;
    uint32_t fPrev = 0;
    bool fOverflowed = false;
    TFlatPairTable fTable;
};

} // namespace engine
