// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigraphCounter.h"

#include "TextTables.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

TFlatPairTable::TFlatPairTable(uint32_t stride)
    : fStride(stride), fCounts(size_t(stride) * stride, 0), fTotals(size_t(stride) * stride, 0) {}

void TFlatPairTable::Fold() {
    fFolded = true;
    for (size_t i = 0; i < fCounts.size(); ++i)
        fTotals[i] += fCounts[i];
    std::fill(fCounts.begin(), fCounts.end(), 0);
    fSinceFold = 0;
}

size_t TFlatPairTable::Distinct(uint32_t ids) const {
    size_t distinct = 0;
    for (uint32_t a = 2; a < ids; ++a)
        for (uint32_t b = 1; b < ids; ++b)
            distinct += At(a, b) != 0;
    return distinct;
}

void TFlatPairTable::FlushInto(TPairCounts &into, uint32_t ids, const char16_t *idUnit) const {
    for (uint32_t a = 2; a < ids; ++a)
        for (uint32_t b = 1; b < ids; ++b)
            if (const uint64_t c = At(a, b))
                into.Add(DigraphKey(idUnit[a], idUnit[b]), int64_t(c));
    into.SetOrderUnknown();
}

namespace {

// Calls visit(i) for each nonzero cells[i], i < n, in order. A text touches
// few cells, so they are looked for sixteen at a time.
template <class Visit> void ForEachNonzero(const uint32_t *cells, size_t n, Visit &&visit) {
    size_t i = 0;
#if defined(__SSE2__)
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

const std::vector<uint32_t> &TFlatPairTable::Touched() const {
    if (fScanned)
        return fTouched;
    fTouched.clear();
    ForEachNonzero(fCounts.data(), fCounts.size(),
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
    TCountSummary sum;
    const auto visit = [&](uint32_t a, uint32_t b, uint64_t c) {
        ++sum.distinct;
        sum.total += int64_t(c);
        if (int64_t(c) >= minCount)
            kept.push_back({DigraphKey(idUnit[a], idUnit[b]), int64_t(c)});
    };
    if (fFolded) {
        for (uint32_t a = 2; a < ids; ++a)
            for (uint32_t b = 1; b < ids; ++b)
                if (const uint64_t c = At(a, b))
                    visit(a, b, c);
        Clear(ids);
    } else {
        // Rows 0 and 1 (after other and space) and column 0 (before other)
        // hold no digraphs: they are only cleared.
        for (uint32_t a = 0; a < std::min<uint32_t>(ids, 2); ++a)
            std::fill_n(fCounts.data() + size_t(a) * fStride, ids, 0u);
        for (uint32_t a = 2; a < ids; ++a) {
            uint32_t *row = fCounts.data() + size_t(a) * fStride;
            row[0] = 0;
            ForEachNonzero(row + 1, ids - 1, [&](size_t i) {
                const uint32_t b = uint32_t(i) + 1;
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
    fScanned = false;
    // Only the ids in use were touched (junk row and column 0 included).
    for (uint32_t a = 0; a < ids; ++a)
        std::fill_n(fCounts.begin() + ptrdiff_t(a * fStride), ids, 0);
    if (fFolded)
        std::fill(fTotals.begin(), fTotals.end(), 0);
    fFolded = false;
    fSinceFold = 0;
}

TByteDigraphCounter::TByteDigraphCounter() : fTable(uint32_t(Tables().byteIdCount)) {}

void TByteDigraphCounter::Feed(const uint8_t *p, size_t n) {
    // Every byte pair is counted, whatever its ids: rows 0 (other) and 1
    // (space) and column 0 (other) are never digraphs and are simply ignored
    // when the counts are read. That keeps the loop free of branches.
    const uint8_t *id = Tables().byteId;
    const uint32_t K = fTable.Stride();
    uint32_t *counts = fTable.Counts();
    uint32_t prev = fPrev;
    uint64_t any = 0;
    size_t i = 0;
    // Eight bytes a load.
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        any |= w;
        const uint32_t a = id[w & 0xFF], b = id[(w >> 8) & 0xFF], c = id[(w >> 16) & 0xFF],
                       d = id[(w >> 24) & 0xFF], e = id[(w >> 32) & 0xFF], f = id[(w >> 40) & 0xFF],
                       g = id[(w >> 48) & 0xFF], h = id[w >> 56];
        ++counts[prev * K + a];
        ++counts[a * K + b];
        ++counts[b * K + c];
        ++counts[c * K + d];
        ++counts[d * K + e];
        ++counts[e * K + f];
        ++counts[f * K + g];
        ++counts[g * K + h];
        prev = h;
    }
    for (; i < n; ++i) {
        any |= p[i];
        const uint32_t a = id[p[i]];
        ++counts[prev * K + a];
        prev = a;
    }
    fPrev = prev;
    fHighBytes = fHighBytes || (any & 0x8080808080808080u) != 0;
    fTable.Counted(n);
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
    : fId(65536, 0), fUpperId(65536, 0), fIdUnit(kStride, 0), fTable(kStride) {
    fIdUnit[1] = u' ';
}

uint32_t TWideDigraphCounter::Assign(char16_t unit) {
    const TextTables &t = Tables();
    const char16_t up = t.upper[unit];
    uint32_t id = t.klass[up]; // other 0, space 1
    if (id == kLetter) {
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
    fId[unit] = uint16_t(id + 1);
    fSeen.push_back(unit);
    return id;
}

void TWideDigraphCounter::Feed(const char16_t *p, size_t n) {
    // As for bytes: every pair is counted, junk rows and columns included,
    // so the loop has no branch but the rare first sight of a unit.
    const uint16_t *ids = fId.data();
    uint32_t *counts = fTable.Counts();
    uint32_t prev = fPrev;
    for (size_t i = 0; i < n; ++i) {
        uint32_t id = ids[p[i]];
        id = id ? id - 1 : Assign(p[i]);
        ++counts[prev * kStride + id];
        prev = id;
    }
    fPrev = prev;
    fTable.Counted(n);
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
        fId[u] = 0;
    }
    fSeen.clear();
    fNext = 2;
    fPrev = 0;
    fOverflowed = false;
}

} // namespace engine
