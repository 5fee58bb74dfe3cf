// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigraphCounter.h"

#include "Simd.h"
#include "TextTables.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>

namespace engine {

TPairCounts::TPairCounts() : fKeys(1024, 0), fCounts(1024, 0), fMask(1023) {}

size_t TPairCounts::Slot(uint32_t key) const {
    size_t h = (key * 0x9E3779B1u) >> 7;
    for (;;) {
        h &= fMask;
        if (fKeys[h] == key || fKeys[h] == 0)
            return h;
        ++h;
    }
}

void TPairCounts::Grow() {
    std::vector<uint32_t> keys(fKeys.size() * 2, 0);
    std::vector<int64_t> counts(fKeys.size() * 2, 0);
    std::swap(keys, fKeys);
    std::swap(counts, fCounts);
    fMask = fKeys.size() - 1;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (!keys[i])
            continue;
        const size_t s = Slot(keys[i]);
        fKeys[s] = keys[i];
        fCounts[s] = counts[i];
    }
}

void TPairCounts::Add(uint32_t key, int64_t n) {
    size_t s = Slot(key);
    if (fKeys[s] == 0) {
        if ((fOrder.size() + 1) * 2 > fKeys.size()) {
            Grow();
            s = Slot(key);
        }
        fKeys[s] = key;
        fOrder.push_back(key);
    }
    fCounts[s] += n;
    fTotal += n;
}

int64_t TPairCounts::CountOf(uint32_t key) const {
    const size_t s = Slot(key);
    return fKeys[s] == key ? fCounts[s] : 0;
}

template <class U, class Upper>
void TPairCounts::AddText(const U *p, size_t n, char16_t &prev, Upper upper) {
    const TextTables &t = Tables();
    char16_t last = prev;
    for (size_t i = 0; i < n; ++i) {
        const char16_t u = upper(p[i]);
        if (t.klass[last] == kLetter && t.klass[u] != kOther)
            Add(DigraphKey(last, u), 1);
        last = u;
    }
    prev = last;
}

void TPairCounts::AddUnits(const char16_t *p, size_t n, char16_t &prev) {
    const TextTables &t = Tables();
    AddText(p, n, prev, [&t](char16_t u) { return t.upper[u]; });
}

void TPairCounts::AddBytes(const uint8_t *p, size_t n, char16_t &prev) {
    const TextTables &t = Tables();
    AddText(p, n, prev, [&t](uint8_t b) { return t.byteUpper[b]; });
}

void TPairCounts::Clear() {
    if (fOrder.size() * 4 < fKeys.size()) {
        // Few keys in a table grown large by an earlier text: clear just
        // their slots (all found first, as clearing one could hide another).
        fClearSlots.clear();
        for (uint32_t key : fOrder)
            fClearSlots.push_back(Slot(key));
        for (size_t s : fClearSlots) {
            fKeys[s] = 0;
            fCounts[s] = 0;
        }
    } else {
        std::fill(fKeys.begin(), fKeys.end(), 0);
        std::fill(fCounts.begin(), fCounts.end(), 0);
    }
    fOrder.clear();
    fTotal = 0;
    fOrderKnown = true;
}

namespace {

constexpr uint64_t kFoldAfter = uint64_t(1) << 31;
std::atomic<uint64_t> gFoldAfter{kFoldAfter};

} // namespace

void SetFoldAfterForTesting(uint64_t pairs) {
    gFoldAfter.store(pairs == 0 ? kFoldAfter : std::min(pairs, kFoldAfter),
                     std::memory_order_relaxed);
}

TFlatPairTable::TFlatPairTable(uint32_t stride, uint32_t lanes)
    : fStride(stride), fLanes(lanes), fCounts(size_t(lanes) * stride * stride, 0),
      fTotals(size_t(stride) * stride, 0) {}

uint64_t TFlatPairTable::Room() const {
    // No cell of any lane can pass the fold point, which is below 2^32.
    const uint64_t foldAfter = gFoldAfter.load(std::memory_order_relaxed);
    return foldAfter > fSinceFold ? foldAfter - fSinceFold : 1;
}

void TFlatPairTable::Counted(size_t n) {
    fScanned = false;
    fSinceFold += n;
    if (fSinceFold >= gFoldAfter.load(std::memory_order_relaxed))
        Fold();
}

void TFlatPairTable::Merge(uint32_t ids) const {
    if (fMerged)
        return;
    const size_t cells = size_t(fStride) * fStride;
    for (uint32_t a = 0; a < ids; ++a) {
        uint32_t *into = fCounts.data() + size_t(a) * fStride;
        for (uint32_t lane = 1; lane < fLanes; ++lane) {
            uint32_t *from = into + lane * cells;
            for (uint32_t b = 0; b < ids; ++b)
                into[b] += from[b];
            std::fill_n(from, ids, 0u);
        }
    }
    fMerged = true;
}

void TFlatPairTable::Fold() {
    Merge(fStride);
    fFolded = true;
    for (size_t i = 0; i < fTotals.size(); ++i)
        fTotals[i] += fCounts[i];
    std::fill_n(fCounts.begin(), fTotals.size(), 0);
    fSinceFold = 0;
}

template <class Visit> void TFlatPairTable::ForEachDigraph(uint32_t ids, Visit &&visit) const {
    Merge(ids);
    for (uint32_t a = kFirstLetterId; a < ids; ++a) {
        if (const uint64_t c = At(a, kSpaceId))
            visit(a, uint32_t(kSpaceId), c);
        for (uint32_t b = kFirstLetterId; b < ids; ++b)
            if (const uint64_t c = At(a, b))
                visit(a, b, c);
    }
}

size_t TFlatPairTable::Distinct(uint32_t ids) const {
    size_t distinct = 0;
    ForEachDigraph(ids, [&](uint32_t, uint32_t, uint64_t) { ++distinct; });
    return distinct;
}

void TFlatPairTable::FlushInto(TPairCounts &into, uint32_t ids, const char16_t *idUnit) const {
    ForEachDigraph(ids, [&](uint32_t a, uint32_t b, uint64_t c) {
        into.Add(DigraphKey(idUnit[a], idUnit[b]), int64_t(c));
    });
    into.SetOrderUnknown();
}

TLineBreaks TFlatPairTable::Breaks(uint32_t ids) const {
    Merge(ids);
    TLineBreaks breaks;
    // Every unit counted is the second of one pair, the first one's with the
    // unit before the text.
    for (uint32_t a = 0; a < ids; ++a) {
        breaks.cr += int64_t(At(a, kCrId));
        breaks.lf += int64_t(At(a, kLfId));
    }
    breaks.crlf = int64_t(At(kCrId, kLfId));
    return breaks;
}

TWhitePairs TFlatPairTable::WhitePairs(uint32_t ids) const {
    Merge(ids);
    TWhitePairs w;
    const auto white = [](uint32_t id) { return id == kSpaceId || id == kCrId || id == kLfId; };
    // As for the breaks: every unit is the second of one pair.
    for (uint32_t a = 0; a < ids; ++a)
        for (uint32_t b = kSpaceId; b <= kLfId; ++b) {
            const int64_t c = int64_t(At(a, b));
            w.white += c;
            w.breaks += b != kSpaceId ? c : 0;
            w.same += a == b ? c : 0;
        }
    for (uint32_t a = kSpaceId; a <= kLfId; ++a)
        for (uint32_t b = 0; b < ids; ++b)
            if (!white(b))
                w.toOther += int64_t(At(a, b));
    return w;
}

namespace {

// Calls visit(i) for each nonzero cells[i], i < n, in order. A text touches
// few cells, so they are looked for sixteen at a time.
template <class Visit> void ForEachNonzero(const uint32_t *cells, size_t n, Visit &&visit) {
    size_t i = 0;
#ifdef BRINDLE_SSE2
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        // One bit per cell, set for the touched ones, in cell order.
        const auto *v = reinterpret_cast<const __m128i *>(cells + i);
        const __m128i lo = _mm_packs_epi32(_mm_cmpeq_epi32(_mm_loadu_si128(v), zero),
                                           _mm_cmpeq_epi32(_mm_loadu_si128(v + 1), zero));
        const __m128i hi = _mm_packs_epi32(_mm_cmpeq_epi32(_mm_loadu_si128(v + 2), zero),
                                           _mm_cmpeq_epi32(_mm_loadu_si128(v + 3), zero));
        for (unsigned touched = ~unsigned(_mm_movemask_epi8(_mm_packs_epi16(lo, hi))) & 0xFFFF;
             touched != 0; touched &= touched - 1)
            visit(i + size_t(std::countr_zero(touched)));
    }
#endif
    for (; i < n; ++i)
        if (cells[i])
            visit(i);
}

} // namespace

template <class Visit> void TFlatPairTable::ForEachCounted(uint32_t ids, Visit &&visit) const {
    Merge(ids);
    if (fFolded) {
        for (uint32_t a = 0; a < ids; ++a)
            for (uint32_t b = 0; b < ids; ++b)
                if (const uint64_t c = At(a, b))
                    visit(a, b, c);
        return;
    }
    // Whole vectors where the stride leaves room: the cells past the ids in
    // use were never counted.
    const uint32_t width = std::min((ids + 15) / 16 * 16, fStride);
    for (uint32_t a = 0; a < ids; ++a) {
        const uint32_t *row = fCounts.data() + size_t(a) * fStride;
        ForEachNonzero(row, width, [&](size_t b) { visit(a, uint32_t(b), uint64_t(row[b])); });
    }
}

const std::vector<uint32_t> &TFlatPairTable::Touched() const {
    if (fScanned)
        return fTouched;
    Merge(fStride);
    fTouched.clear();
    ForEachNonzero(fCounts.data(), size_t(fStride) * fStride,
                   [this](size_t i) { fTouched.push_back(uint32_t(i)); });
    fScanned = true;
    return fTouched;
}

size_t TFlatPairTable::DistinctTouched() const {
    if (fFolded)
        return Distinct(fStride);
    size_t distinct = 0;
    for (uint32_t cell : Touched())
        distinct += Digraph(cell);
    return distinct;
}

void TFlatPairTable::FlushTouchedInto(TPairCounts &into, const char16_t *idUnit) const {
    if (fFolded) {
        FlushInto(into, fStride, idUnit);
        return;
    }
    // Row-major order: the order the whole-table walk adds them in.
    for (uint32_t cell : Touched())
        if (Digraph(cell))
            into.Add(DigraphKey(idUnit[cell / fStride], idUnit[cell % fStride]),
                     int64_t(fCounts[cell]));
    into.SetOrderUnknown();
}

void TFlatPairTable::ClearTouched() {
    if (fFolded) {
        Clear(fStride);
        return;
    }
    for (uint32_t cell : Touched())
        fCounts[cell] = 0;
    fTouched.clear();
    fSinceFold = 0;
}

TCountSummary TFlatPairTable::Take(uint32_t ids, const char16_t *idUnit, int64_t minCount,
                                   std::vector<TProfileEntry> &kept) {
    Merge(ids);
    TCountSummary sum;
    const auto visit = [&](uint32_t a, uint32_t b, uint64_t c) {
        ++sum.distinct;
        sum.total += int64_t(c);
        if (int64_t(c) >= minCount)
            kept.push_back({DigraphKey(idUnit[a], idUnit[b]), int64_t(c)});
    };
    if (fFolded) {
        ForEachDigraph(ids, visit);
        Clear(ids);
    } else {
        // The rows before the first letter, and the columns before it but
        // SPACE's, hold no digraphs: they are only cleared.
        for (uint32_t a = 0; a < std::min<uint32_t>(ids, kFirstLetterId); ++a)
            std::fill_n(fCounts.data() + size_t(a) * fStride, ids, 0u);
        // The letter columns are looked through in whole vectors where the
        // stride leaves room: the cells past the ids in use were never
        // counted.
        const uint32_t width =
            std::min((ids - kFirstLetterId + 15) / 16 * 16, fStride - kFirstLetterId);
        for (uint32_t a = kFirstLetterId; a < ids; ++a) {
            uint32_t *row = fCounts.data() + size_t(a) * fStride;
            if (row[kSpaceId])
                visit(a, uint32_t(kSpaceId), row[kSpaceId]);
            std::fill_n(row, kFirstLetterId, 0u);
            ForEachNonzero(row + kFirstLetterId, width, [&](size_t i) {
                const uint32_t b = uint32_t(i) + kFirstLetterId;
                visit(a, b, row[b]);
                row[b] = 0;
            });
        }
    }
    // Nothing is left in the table: clearing it again costs nothing.
    fTouched.clear();
    fScanned = true;
    fSinceFold = 0;
    return sum;
}

void TFlatPairTable::Clear(uint32_t ids) {
    Merge(ids);
    fScanned = false;
    // Only the ids in use were touched (junk row and column 0 included).
    for (uint32_t a = 0; a < ids; ++a)
        std::fill_n(fCounts.begin() + ptrdiff_t(a * fStride), ids, 0);
    if (fFolded)
        std::fill(fTotals.begin(), fTotals.end(), 0);
    fFolded = false;
    fSinceFold = 0;
}

namespace {

constexpr uint32_t kByteLanes = 4;
// Adding the lanes up costs as much as counting a few tens of KiB, so a
// shorter part is counted in one lane.
constexpr size_t kLanesFrom = 64 * 1024;

// The cell of every byte pair, indexed by the two bytes as one little-endian
// 16-bit load: first byte low, second high. A count is then one load and one
// increment, with no per-byte id to look up and no row to work out.
const uint16_t *BytePairCells() {
    static const std::vector<uint16_t> cells = [] {
        const TextTables &t = Tables();
        const uint32_t stride = uint32_t(t.byteIdCount);
        std::vector<uint16_t> c(65536);
        for (uint32_t a = 0; a < 256; ++a)
            for (uint32_t b = 0; b < 256; ++b)
                c[a | b << 8] = uint16_t(t.byteId[a] * stride + t.byteId[b]);
        return c;
    }();
    return cells.data();
}

uint32_t PairAt(const uint8_t *p) {
    static_assert(std::endian::native == std::endian::little);
    uint16_t pair;
    std::memcpy(&pair, p, 2);
    return pair;
}

} // namespace

TByteDigraphCounter::TByteDigraphCounter() : fTable(uint32_t(Tables().byteIdCount), kByteLanes) {
    static_assert(kOther == 0);
}

void TByteDigraphCounter::Feed(const uint8_t *p, size_t n) {
    fLastFeedHigh = false;
    fTable.CountInPieces(n, [&](size_t at, size_t k) { fLastFeedHigh |= FeedPart(p + at, k); });
    fHighBytes = fHighBytes || fLastFeedHigh;
}

bool TByteDigraphCounter::FeedPart(const uint8_t *p, size_t n) {
    // Every byte pair is counted, whatever its ids: rows 0 (other) and 1
    // (space) and column 0 (other) are never digraphs and are simply ignored
    // when the counts are read. That keeps the loop free of branches.
    const uint16_t *cell = BytePairCells();
    uint32_t *lane[kByteLanes];
    for (uint32_t l = 0; l < kByteLanes; ++l)
        lane[l] = fTable.Counts(n >= kLanesFrom ? l : 0);
    ++lane[0][cell[fPrev | uint32_t(p[0]) << 8]];
    // The pairs within the part start at 0 .. n - 2; eight a round, two to
    // a lane, the bytes they cover looked at for any above ASCII.
    const size_t pairs = n - 1;
    uint64_t any = 0;
    size_t i = 0;
    for (; i + 16 <= pairs; i += 16) {
        // The pairs come from registers, not a load each: a load per pair
        // on top of the cell's and the count's was what bound the loop.
        // Even pairs are the 16-bit lanes of `x` as loaded, odd ones those
        // of `x` a byte on.
        uint64_t x[2], y[2];
        std::memcpy(x, p + i, 16);
        std::memcpy(y, p + i + 1, 16);
        any |= x[0] | x[1];
        for (uint32_t h = 0; h < 2; ++h)
            for (uint32_t k = 0; k < 4; ++k) {
                ++lane[(2 * k) % kByteLanes][cell[uint16_t(x[h] >> (16 * k))]];
                ++lane[(2 * k + 1) % kByteLanes][cell[uint16_t(y[h] >> (16 * k))]];
            }
    }
    for (size_t j = i; j < pairs; ++j)
        ++lane[0][cell[PairAt(p + j)]];
    for (; i < n; ++i)
        any |= p[i];
    fPrev = p[n - 1];
    return (any & 0x8080808080808080u) != 0;
}

TLineBreaks TByteDigraphCounter::Breaks() const {
    const TextTables &t = Tables();
    return fTable.Breaks(uint32_t(fHighBytes ? t.byteIdCount : t.asciiIdCount));
}

TBytePairFigures TByteDigraphCounter::Figures() const {
    const TextTables &t = Tables();
    // What each id is, for the bounds: ids that hold a UTF-8 lead byte, or
    // a continuation byte (no id holds both).
    struct TIdClasses {
        bool white[256] = {}, lead[256] = {}, cont[256] = {};
    };
    static const TIdClasses classes = [&t] {
        TIdClasses c;
        for (uint32_t id : {kSpaceId, kCrId, kLfId, kBlankId})
            c.white[id] = true;
        for (int b = 0xC2; b <= 0xF4; ++b)
            c.lead[t.byteId[b]] = true;
        for (int b = 0x80; b <= 0xBF; ++b)
            c.cont[t.byteId[b]] = true;
        return c;
    }();
    const uint32_t ef = t.byteId[0xEF], bf = t.byteId[0xBF];
    TBytePairFigures f;
    fTable.ForEachCounted(uint32_t(fHighBytes ? t.byteIdCount : t.asciiIdCount),
                          [&](uint32_t a, uint32_t b, uint64_t count) {
                              const int64_t c = int64_t(count);
                              if (classes.white[b]) {
                                  f.white += c;
                                  f.breaks += b == kCrId || b == kLfId ? c : 0;
                              } else {
                                  f.tokenStarts += classes.white[a] ? c : 0;
                                  if (a == b)
                                      f.sameIds = std::max(f.sameIds, c);
                              }
                              f.controls += b == kControlId ? c : 0;
                              f.undefined += b == kUndefinedId ? c : 0;
                              f.high += t.highId[b] ? c : 0;
                              f.leadPairs += classes.lead[a] && classes.cont[b] ? c : 0;
                              f.replacementStarts += a == ef && b == bf ? c : 0;
                          });
    return f;
}

size_t TByteDigraphCounter::Distinct() const {
    return fTable.DistinctTouched();
}

void TByteDigraphCounter::FlushInto(TPairCounts &into) {
    fTable.FlushTouchedInto(into, Tables().idUnit);
    Reset();
}

void TByteDigraphCounter::Reset() {
    fTable.ClearTouched();
    fPrev = 0;
    fHighBytes = false;
}

TCountSummary TByteDigraphCounter::Take(int64_t minCount, std::vector<TProfileEntry> &kept) {
    const TextTables &t = Tables();
    const uint32_t ids = uint32_t(fHighBytes ? t.byteIdCount : t.asciiIdCount);
    const TCountSummary sum = fTable.Take(ids, t.idUnit, minCount, kept);
    fPrev = 0;
    fHighBytes = false;
    return sum;
}

TWideDigraphCounter::TWideDigraphCounter()
    : fId(65536, kUnseen), fUpperId(65536, 0), fIdUnit(kStride, 0), fTable(kStride) {
    fIdUnit[kSpaceId] = u' ';
}

uint32_t TWideDigraphCounter::Assign(char16_t unit) {
    const TextTables &t = Tables();
    const char16_t up = t.upper[unit];
    const uint8_t k = t.klass[up];
    uint32_t id = k == kSpace ? kSpaceId : up == u'\r' ? kCrId : up == u'\n' ? kLfId : kOtherId;
    if (k == kLetter) {
        id = fUpperId[up];
        if (id == 0) {
            if (fNext == kStride) {
                // No room: this text is counted in order instead. Count the
                // letter as "other" meanwhile; the counts are dropped anyway.
                fOverflowed = true;
                return 0;
            }
            id = fNext++;
            fUpperId[up] = uint16_t(id);
            fIdUnit[id] = up;
        }
    }
    fId[unit] = uint16_t(id);
    fSeen.push_back(unit);
    return id;
}

void TWideDigraphCounter::Feed(const char16_t *p, size_t n) {
    fTable.CountInPieces(n, [&](size_t at, size_t k) { FeedPart(p + at, k); });
}

void TWideDigraphCounter::FeedPart(const char16_t *p, size_t n) {
    // As for bytes: every pair is counted, junk rows and columns included,
    // so the loop has no branch but the rare first sight of a unit. Four
    // units a round share that one test.
    const uint16_t *ids = fId.data();
    uint32_t *counts = fTable.Counts();
    uint32_t prev = fPrev;
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        uint32_t a = ids[p[i]], b = ids[p[i + 1]], c = ids[p[i + 2]], d = ids[p[i + 3]];
        if ((a | b | c | d) >= kStride) {
            // One of them is new (every id is below kStride): ids are given
            // in the order the units are met.
            a = Id(p[i]);
            b = Id(p[i + 1]);
            c = Id(p[i + 2]);
            d = Id(p[i + 3]);
        }
        ++counts[prev * kStride + a];
        ++counts[a * kStride + b];
        ++counts[b * kStride + c];
        ++counts[c * kStride + d];
        prev = d;
    }
    for (; i < n; ++i) {
        const uint32_t id = Id(p[i]);
        ++counts[prev * kStride + id];
        prev = id;
    }
    fPrev = prev;
}

size_t TWideDigraphCounter::Distinct() const {
    return fTable.Distinct(fNext);
}

void TWideDigraphCounter::FlushInto(TPairCounts &into) {
    fTable.FlushInto(into, fNext, fIdUnit.data());
    Reset();
}

void TWideDigraphCounter::Reset() {
    fTable.Clear(fNext);
    ForgetIds();
}

TCountSummary TWideDigraphCounter::Take(int64_t minCount, std::vector<TProfileEntry> &kept) {
    const TCountSummary sum = fTable.Take(fNext, fIdUnit.data(), minCount, kept);
    ForgetIds();
    return sum;
}

void TWideDigraphCounter::ForgetIds() {
    for (char16_t u : fSeen) {
        fUpperId[Tables().upper[u]] = 0;
        fId[u] = kUnseen;
    }
    fSeen.clear();
    fNext = kFirstLetterId;
    fPrev = 0;
    fOverflowed = false;
}

} // namespace engine
