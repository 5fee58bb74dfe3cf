// SPDX-License-Identifier: GPL-3.0-or-later
// The saved-profile reader. Whatever it accepts must give the verdicts of
// the profile it came from; whatever it refuses must be refused with a
// cause. (The shipped language sets are such files, read by this reader.)
// Every input is tried four ways:
//   1. as a file, as it is: refused with a cause, or accepted as a
//      well-formed profile that saves back to exactly these bytes;
//   2. the same with its checksum made right, so that the checks behind the
//      checksum (order, counts, sizes) meet hand-made files too;
//   3. as the reference text of a profile that is saved and read back: it
//      is accepted, and every verdict on a file profile (the other half of
//      the input) is the same as with the profile it came from;
//   4. that saved profile with one byte changed (chosen by the input): it is
//      refused with a cause, never read as another profile.

#include "DigraphProfile.h"
#include "FuzzSupport.h"
#include "General_Trees.h"
#include "ProfileFile.h"
#include "TextTables.h"

#include <cstdint>
#include <cstring>
#include <optional>

namespace {

using engine::TDigraphProfile;
using engine::TSavedProfile;

// What a profile as a reference decides about a file: everything the user
// sees of the comparison, at a strict and at a loose tolerance.
void SameVerdicts(const TDigraphProfile &sample, const TDigraphProfile &a,
                  const TDigraphProfile &b) {
    for (const auto &[variation, percent] : {std::pair{15, 10}, std::pair{1, 0}}) {
        const engine::TDigraphComparison x =
            engine::CompareProfiles(sample, a, variation, percent, QLatin1Char('.'));
        const engine::TDigraphComparison y =
            engine::CompareProfiles(sample, b, variation, percent, QLatin1Char('.'));
        FUZZ_CHECK(x.fails == y.fails);
        FUZZ_CHECK(std::memcmp(&x.fail_fraction, &y.fail_fraction, sizeof(float)) == 0);
        FUZZ_CHECK(x.failures == y.failures);
        FUZZ_CHECK(x.too_many == y.too_many);
        FUZZ_CHECK(x.too_few == y.too_few);
    }
}

// The invariants the reader promises of anything it accepts.
void WellFormed(const TSavedProfile &saved) {
    FUZZ_CHECK(saved.min_digraphs >= 1);
    FUZZ_CHECK(saved.profile.digraphs >= 1);
    int64_t sum = 0;
    for (size_t i = 0; i < saved.profile.entries.size(); ++i) {
        const engine::TProfileEntry &e = saved.profile.entries[i];
        // A letter, then a letter or a space: nothing that could break a
        // reason's line or column.
        const char16_t first = char16_t(e.key >> 16), second = char16_t(e.key & 0xFFFF);
        FUZZ_CHECK(engine::IsLetterUnit(first));
        FUZZ_CHECK(engine::IsLetterUnit(second) || second == u' ');
        FUZZ_CHECK(i == 0 || e.key > saved.profile.entries[i - 1].key);
        FUZZ_CHECK(e.count >= saved.min_digraphs);
        sum += e.count;
        FUZZ_CHECK(sum <= saved.profile.digraphs);
    }
}

// Reads `bytes`: a refusal names its cause; an acceptance is well formed,
// saves back to the same bytes, and can be compared with a file's profile.
void ReadAny(const QByteArray &bytes, const TDigraphProfile &sample) {
    const engine::TProfileRead read = engine::DecodeProfile(bytes);
    if (!read.saved) {
        FUZZ_CHECK(!read.error.isEmpty());
        return;
    }
    FUZZ_CHECK(read.error.isEmpty());
    WellFormed(*read.saved);
    FUZZ_CHECK(engine::EncodeProfile(*read.saved) == bytes);
    SameVerdicts(sample, read.saved->profile, read.saved->profile);
}

// The profile of 8-bit text, as the references give it; empty when the text
// has so many distinct digraphs that its tree is lopsided (a refusal of the
// text, not of a profile).
std::optional<TDigraphProfile> ProfileOf(const uint8_t *p, size_t n, int32_t minCount) {
    engine::TPairCounts counts;
    char16_t prev = 0;
    counts.AddBytes(p, n, prev);
    try {
        return engine::MakeProfile(counts, minCount);
    } catch (const ETreeError &) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // The second half of the input, as text, is the file compared.
    const size_t half = size / 2;
    const std::optional<TDigraphProfile> sample = ProfileOf(data + half, size - half, 1);
    if (!sample)
        return 0;

    // 1 and 2.
    ReadAny(bytes, *sample);
    if (size >= 8 && std::memcmp(data, "BRDGPROF", 8) == 0) {
        QByteArray fixed = bytes;
        const uint32_t crc = engine::Crc32(QByteArrayView(fixed).first(fixed.size() - 4));
        for (int i = 0; i < 4; ++i)
            fixed[fixed.size() - 4 + i] = char((crc >> (8 * i)) & 0xFF);
        ReadAny(fixed, *sample);
    }

    // 3: the first byte chooses the least count and the encoding recorded;
    // the whole input is the reference text.
    TSavedProfile saved;
    saved.min_digraphs = int32_t(data[0] % 16) + 1;
    saved.encoding =
        data[1] & 1 ? engine::TDefaultEncoding::Utf8 : engine::TDefaultEncoding::Windows1252;
    const std::optional<TDigraphProfile> made = ProfileOf(data, size, saved.min_digraphs);
    if (!made || made->digraphs == 0)
        return 0; // no letter pairs: nothing a scan would save
    saved.profile = *made;
    const QByteArray file = engine::EncodeProfile(saved);
    const engine::TProfileRead back = engine::DecodeProfile(file);
    FUZZ_CHECK(back.saved && back.error.isEmpty());
    FUZZ_CHECK(back.saved->encoding == saved.encoding);
    FUZZ_CHECK(back.saved->min_digraphs == saved.min_digraphs);
    FUZZ_CHECK(engine::ProfileMismatch(*back.saved, saved.encoding, saved.min_digraphs).isEmpty());
    SameVerdicts(*sample, saved.profile, back.saved->profile);

    // 4.
    QByteArray damaged = file;
    const qsizetype at = qsizetype((data[size - 1] | (data[size / 2] << 8)) % file.size());
    damaged[at] = char(damaged[at] ^ (data[0] | 1));
    const engine::TProfileRead refused = engine::DecodeProfile(damaged);
    FUZZ_CHECK(!refused.saved && !refused.error.isEmpty());
    return 0;
}
