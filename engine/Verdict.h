// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a file is listed: the verdict of the two default tests (the size test
// and the digraph check), and, from the extended checks only, what they
// add: damage, the set a file was judged against, its score and the pairs
// that explain it. A default run never fills the extended part, so its
// lines cannot change with it.

#include "DamageCode.h"

#include <QLatin1StringView>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace engine {

// The test that lists a file. Damage comes from the extended checks only.
enum class TSuspectTest { Size, Digraph, Damage };

// "size", "digraph", "damage".
QLatin1StringView TestName(TSuspectTest test);

// One letter pair of an explanation: its relative frequency in the file and
// in the reference set it was judged against.
struct TPairDeviation {
    QString pair;
    float file = 0.0f;
    float reference = 0.0f;
};

struct TDamage {
    TDamageCode code = TDamageCode::Nul;
    int64_t offset = -1; // byte offset of the first damage, -1 when not one place
    QString reason;
};

// What the extended checks add to a verdict.
struct TExtendedDetail {
    // Damage found in the file: the reason itself when the test is Damage,
    // else found beside the size test's or the digraph check's verdict.
    std::optional<TDamage> damage;
    // The letter pairs against the closest set, when they were judged.
    QString set;
    double score = -1.0; // divergence from that set; < 0 when not scored
    double cut = -1.0;   // the set's cut for a text of this many digraphs
    int64_t digraphs = 0;
    // A file listed for being further from its set than another kind of
    // set is: that set and the file's score against it.
    QString nearer_set;
    double nearer_score = -1.0;
    std::vector<TPairDeviation> too_many_pairs;
    std::vector<TPairDeviation> too_few_pairs;
};

struct TVerdict {
    TSuspectTest test = TSuspectTest::Size;
    QString reason;
    int64_t file_size = 0;
    int64_t text_length = 0;
    float fail_fraction = 0.0f;
    QString too_many;
    QString too_few;
    std::optional<TExtendedDetail> extended;
};

// The stable code of a listed or too-short file: "size", "digraph", a
// damage code, or "too-short".
QString VerdictCode(const TVerdict &verdict, bool tooShort);
// The byte offset of the first damage, -1 when none is known.
int64_t DamageOffset(const TVerdict &verdict);

} // namespace engine
