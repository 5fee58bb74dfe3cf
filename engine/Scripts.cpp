// SPDX-License-Identifier: GPL-3.0-or-later
#include "Scripts.h"

#include <algorithm>
#include <map>

namespace engine {

namespace {

constexpr int64_t kHeldShareDen = 10; // a tenth of a set's letters

// Each pair's first unit is a letter; counted once per occurrence of the
// pair, the first units count every letter of the text but its last.
std::map<QChar::Script, int64_t> LettersByScript(const TDigraphProfile &p) {
    std::map<QChar::Script, int64_t> by;
    for (const TProfileEntry &e : p.entries) {
        const char16_t first = char16_t(e.key >> 16);
        if (first == 0xFFFF) // "rest"
            continue;
        by[QChar::script(char32_t(first))] += e.count;
    }
    return by;
}

} // namespace

std::vector<QChar::Script> HeldScripts(const TDigraphProfile &set) {
    const std::map<QChar::Script, int64_t> by = LettersByScript(set);
    int64_t all = 0;
    for (const auto &[script, n] : by)
        all += n;
    std::vector<QChar::Script> held;
    for (const auto &[script, n] : by)
        if (n * kHeldShareDen >= all && all > 0)
            held.push_back(script);
    return held;
}

std::optional<QChar::Script> UnheldScript(const TDigraphProfile &text,
                                          const std::vector<QChar::Script> &held) {
    if (held.empty())
        return std::nullopt;
    const std::map<QChar::Script, int64_t> by = LettersByScript(text);
    int64_t all = 0, unheld = 0, most = 0;
    QChar::Script top = QChar::Script_Unknown;
    for (const auto &[script, n] : by) {
        all += n;
        if (std::find(held.begin(), held.end(), script) != held.end())
            continue;
        unheld += n;
        if (n > most) {
            most = n;
            top = script;
        }
    }
    if (all == 0 || 2 * unheld <= all)
        return std::nullopt;
    return top;
}

QString ScriptName(QChar::Script script) {
    switch (script) {
    case QChar::Script_Latin:
        return QStringLiteral("Latin");
    case QChar::Script_Cyrillic:
        return QStringLiteral("Cyrillic");
    case QChar::Script_Greek:
        return QStringLiteral("Greek");
    case QChar::Script_Han:
        return QStringLiteral("Han");
    case QChar::Script_Hiragana:
        return QStringLiteral("Hiragana");
    case QChar::Script_Katakana:
        return QStringLiteral("Katakana");
    case QChar::Script_Hangul:
        return QStringLiteral("Hangul");
    case QChar::Script_Arabic:
        return QStringLiteral("Arabic");
    case QChar::Script_Hebrew:
        return QStringLiteral("Hebrew");
    case QChar::Script_Thai:
        return QStringLiteral("Thai");
    case QChar::Script_Devanagari:
        return QStringLiteral("Devanagari");
    case QChar::Script_Bengali:
        return QStringLiteral("Bengali");
    case QChar::Script_Tamil:
        return QStringLiteral("Tamil");
    case QChar::Script_Georgian:
        return QStringLiteral("Georgian");
    case QChar::Script_Armenian:
        return QStringLiteral("Armenian");
    case QChar::Script_Ethiopic:
        return QStringLiteral("Ethiopic");
    default:
        return QStringLiteral("another script");
    }
}

} // namespace engine
