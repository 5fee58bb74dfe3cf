// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceSets.h"

#include "DigraphScore.h"
#include "Mersenne64.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <system_error>

namespace engine {

void TScoreCut::TLazy::Make() {
    std::call_once(once, [this] {
        points = make(abandoned);
        make = nullptr;
    });
}

TScoreCut::TLazy::~TLazy() {
    abandoned = true;
    if (worker.joinable())
        worker.join();
}

TScoreCut::TScoreCut(TMake make) : fLazy(std::make_shared<TLazy>()) {
    fLazy->make = std::move(make);
    // Made at once beside the run's first files, where a core is free: most
    // runs soon need the cut. Without a thread, the first file that needs it
    // makes it.
    TLazy *lazy = fLazy.get();
    try {
        lazy->worker = std::thread([lazy] { lazy->Make(); });
    } catch (const std::system_error &) {
    }
}

const TScoreCut::TPoints &TScoreCut::Points() const {
    static const TPoints none;
    if (!fLazy)
        return none;
    fLazy->Make();
    return fLazy->points;
}

double TScoreCut::At(int64_t digraphs) const {
    const TPoints &points = Points();
    if (points.empty())
        return -1.0;
    if (digraphs <= points.front().first)
        return points.front().second;
    if (digraphs >= points.back().first)
        return points.back().second;
    const auto hi = std::lower_bound(
        points.begin(), points.end(), digraphs,
        [](const std::pair<int64_t, double> &p, int64_t n) { return p.first < n; });
    const auto lo = hi - 1;
    if (hi->first == digraphs || lo->second <= 0.0 || hi->second <= 0.0)
        return hi->second;
    const double t = std::log(double(digraphs) / double(lo->first)) /
                     std::log(double(hi->first) / double(lo->first));
    return std::exp(std::log(lo->second) + t * (std::log(hi->second) - std::log(lo->second)));
}

namespace {

// The calibration draws texts from the set and takes how far the
// 99th-percentile draw of each length strays: a good text of the set's kind
// strays that far by chance once in a hundred. Fixed lengths (64 to 4 Mi
// digraphs, each four times the last: the cut is close to a power of the
// length, so the log-log line between two points misses little) and a fixed
// seed make it deterministic.
constexpr int kDraws = 200;
constexpr double kQuantile = 0.99;
constexpr int64_t kFirstLength = 64;
constexpr int64_t kLengthStep = 4;
constexpr int kLengths = 9;
constexpr uint64_t kSeed = 0x42726E646C65ULL;

// Uniform in (0, 1], from the generator's exactly specified output, so that
// every build draws the same numbers.
double Uniform(TMersenne64 &g) {
    return double((g() >> 11) + 1) * 0x1p-53;
}

// A Poisson mean, with what each draw of it needs worked out once.
struct TMean {
    double lambda = 0.0;
    double limit = 0.0; // exp(-lambda), for a small mean
    double root = 0.0;  // sqrt(lambda), for a large one
    explicit TMean(double l) : lambda(l) {
        if (lambda > 0.0 && lambda < kSmallMean)
            limit = std::exp(-lambda);
        else if (lambda > 0.0)
            root = std::sqrt(lambda);
    }
    static constexpr double kSmallMean = 30.0;
};

// A Poisson draw: by multiplying uniforms while the mean is small, by the
// normal approximation (Box-Muller) above that, where it is close enough
// for a quantile of 200 draws.
int64_t Poisson(TMersenne64 &g, const TMean &mean) {
    if (mean.lambda <= 0.0)
        return 0;
    if (mean.lambda < TMean::kSmallMean) {
        int64_t k = 0;
        for (double prod = Uniform(g); prod > mean.limit; prod *= Uniform(g))
            ++k;
        return k;
    }
    const double z =
        std::sqrt(-2.0 * std::log(Uniform(g))) * std::cos(2.0 * std::numbers::pi * Uniform(g));
    return std::max<int64_t>(0, std::llround(mean.lambda + mean.root * z));
}

// Letter pairs come in words, not one by one: a word's pairs stand or fall
// together (a text that uses a word more often than usual has all its pairs
// more often). So a text of n pairs varies about as much as a text of n / c
// independent draws, c being the pairs of a word: the set's pairs over the
// words they make, a word being a letter pair that ends in a space. Sampling
// a whole word as one clump of c copies of a pair gives the same
// proportions, and so the same score, as one draw.
double PairsPerWord(const TDigraphProfile &profile) {
    int64_t wordEnds = 0;
    for (const TProfileEntry &e : profile.entries)
        if ((e.key & 0xFFFF) == u' ')
            wordEnds += e.count;
    if (wordEnds <= 0)
        return 1.0;
    return std::max(1.0, double(profile.digraphs) / double(wordEnds));
}

// Stops early, with the points so far, once `stop` is set.
TScoreCut::TPoints Calibrate(const TDigraphProfile &ref, int64_t kept,
                             const std::atomic<bool> &stop) {
    TScoreCut::TPoints points;
    // The outcomes a drawn text can have: the kept pairs, then "rest".
    std::vector<double> share;
    share.reserve(ref.entries.size() + 1);
    for (const TProfileEntry &e : ref.entries)
        share.push_back(double(e.count) / double(ref.digraphs));
    share.push_back(double(ref.digraphs - kept) / double(ref.digraphs));

    const double perWord = PairsPerWord(ref);
    TMersenne64 g(kSeed);
    TDigraphProfile drawn;
    drawn.entries.reserve(share.size());
    std::vector<double> scores(kDraws);
    int64_t length = kFirstLength;
    std::vector<TMean> means;
    means.reserve(share.size());
    for (int l = 0; l < kLengths; ++l, length *= kLengthStep) {
        const double words = std::max(1.0, double(length) / perWord);
        means.clear();
        for (double sh : share)
            means.emplace_back(words * sh);
        for (int d = 0; d < kDraws; ++d) {
            if (stop.load(std::memory_order_relaxed))
                return points;
            // Independent Poisson counts per outcome: a multinomial draw of
            // about `words` words, with far less work for long texts.
            drawn.entries.clear();
            drawn.digraphs = 0;
            for (size_t i = 0; i < share.size(); ++i) {
                const int64_t k = Poisson(g, means[i]);
                if (k == 0)
                    continue;
                drawn.entries.push_back(
                    {i < ref.entries.size() ? ref.entries[i].key : kRestKey, k});
                drawn.digraphs += k;
            }
            scores[size_t(d)] = DigraphScore(drawn, ref, kept);
        }
        const size_t at = size_t(std::ceil(kQuantile * kDraws)) - 1;
        std::nth_element(scores.begin(), scores.begin() + ptrdiff_t(at), scores.end());
        points.emplace_back(length, scores[at]);
    }
    // A longer text never strays further by chance: the cut never rises
    // with the length, whatever the draws.
    for (size_t i = 1; i < points.size(); ++i)
        points[i].second = std::min(points[i].second, points[i - 1].second);
    return points;
}

} // namespace

TReferenceSet MakeReferenceSet(const QString &name, TDigraphProfile profile) {
    TReferenceSet set;
    set.name = name;
    set.profile = std::move(profile);
    set.kept = KeptCount(set.profile);
    if (set.profile.digraphs > 0 && !set.profile.entries.empty())
        set.cut = TScoreCut([ref = set.profile, kept = set.kept](const std::atomic<bool> &stop) {
            return Calibrate(ref, kept, stop);
        });
    return set;
}

std::vector<int> SetKinds(const TReferenceSets &sets) {
    const auto score = [](const TReferenceSet &text, const TReferenceSet &set) {
        return DigraphScore(text.profile, set.profile, set.kept);
    };
    // Each language's nearest other language.
    std::vector<double> nearestLanguage(sets.size(), -1.0);
    for (size_t l = 0; l < sets.size(); ++l)
        for (size_t m = 0; m < sets.size(); ++m)
            if (l != m && sets[l].language && sets[m].language) {
                const double s = score(sets[m], sets[l]);
                if (nearestLanguage[l] < 0.0 || s < nearestLanguage[l])
                    nearestLanguage[l] = s;
            }
    std::vector<int> kinds(sets.size());
    for (size_t i = 0; i < sets.size(); ++i) {
        kinds[i] = int(i);
        if (sets[i].language)
            continue;
        // The language it lies nearest, if within that language's half.
        double best = -1.0;
        for (size_t l = 0; l < sets.size(); ++l) {
            if (!sets[l].language || nearestLanguage[l] < 0.0)
                continue;
            const double s = score(sets[i], sets[l]);
            if (2.0 * s < nearestLanguage[l] && (best < 0.0 || s < best)) {
                best = s;
                kinds[i] = int(l);
            }
        }
    }
    return kinds;
}

const TReferenceSet::TOther *TReferenceSet::NearestOtherKind(double cut) const {
    for (const TOther &other : others)
        if (other.score > cut)
            return &other;
    return nullptr;
}

void SeparateSets(TReferenceSets &sets) {
    const std::vector<int> kinds = SetKinds(sets);
    for (size_t i = 0; i < sets.size(); ++i) {
        TReferenceSet &set = sets[i];
        set.others.clear();
        for (size_t j = 0; j < sets.size(); ++j)
            if (kinds[j] != kinds[i])
                set.others.push_back(
                    {DigraphScore(sets[j].profile, set.profile, set.kept), sets[j].name});
        std::stable_sort(set.others.begin(), set.others.end(),
                         [](const TReferenceSet::TOther &a, const TReferenceSet::TOther &b) {
                             return a.score < b.score;
                         });
    }
}

const TReferenceSet *ClosestSet(const TDigraphProfile &text, const TReferenceSets &sets,
                                double &score) {
    const TReferenceSet *best = nullptr;
    for (const TReferenceSet &set : sets) {
        const double s = DigraphScore(text, set.profile, set.kept);
        if (!best || s < score) {
            best = &set;
            score = s;
        }
    }
    return best;
}

// Why 1 / (tolerance x share): a pair of relative frequency p, in a good
// text of n pairs, strays past the tolerance t by chance with probability at
// most p (1 - p) / (n t^2) (Chebyshev); summed over all pairs (their p add up
// to 1), at most 1 / (n t^2) pairs fail by chance alone. At most 1 / t pairs
// can be as frequent as the tolerance, and only those can fail both ways;
// asking that chance failures stay within the share s allowed of them,
// 1 / (n t^2) <= s / t, gives n >= 1 / (s t): 667 at 15 per mille and 10
// percent. A tolerance or share of zero allows no chance at all; they are
// taken as 1 per mille and 1 percent, the least the options can express.
int64_t MinDigraphsToJudge(int32_t freqVariationPerMille, int32_t percentFailAllowed) {
    const int64_t t = std::max<int64_t>(1, freqVariationPerMille);
    const int64_t s = std::max<int64_t>(1, percentFailAllowed);
    constexpr int64_t kScale = 1000 * 100; // per mille times percent
    return (kScale + t * s - 1) / (t * s);
}

} // namespace engine
