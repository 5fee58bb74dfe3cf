// SPDX-License-Identifier: GPL-3.0-or-later
#include "Scripts.h"

#include <algorithm>
#include <array>

namespace engine {

namespace {

constexpr int64_t kHeldShareDen = 10; // a tenth of a set's letters

// Letters per script, indexed by QChar::Script: a flat table, as every
// judged file is counted.
using TByScript = std::array<int64_t, QChar::ScriptCount>;

// Each pair's first unit is a letter; counted once per occurrence of the
// pair, the first units count every letter of the text but its last.
TByScript LettersByScript(const TDigraphProfile &p) {
    TByScript by{};
    for (const TProfileEntry &e : p.entries) {
        const char16_t first = char16_t(e.key >> 16);
        if (first == 0xFFFF) // "rest"
            continue;
        by[size_t(QChar::script(char32_t(first)))] += e.count;
    }
    return by;
}

} // namespace

std::vector<QChar::Script> HeldScripts(const TDigraphProfile &set) {
    const TByScript by = LettersByScript(set);
    int64_t all = 0;
    for (const int64_t n : by)
        all += n;
    std::vector<QChar::Script> held;
    for (size_t script = 0; script < by.size(); ++script)
        if (by[script] > 0 && by[script] * kHeldShareDen >= all)
            held.push_back(QChar::Script(script));
    return held;
}

std::optional<QChar::Script> UnheldScript(const TDigraphProfile &text,
                                          const std::vector<QChar::Script> &held) {
    if (held.empty())
        return std::nullopt;
    const TByScript by = LettersByScript(text);
    int64_t all = 0, unheld = 0, most = 0;
    QChar::Script top = QChar::Script_Unknown;
    for (size_t i = 0; i < by.size(); ++i) {
        const int64_t n = by[i];
        const auto script = QChar::Script(i);
        all += n;
        if (n == 0 || std::find(held.begin(), held.end(), script) != held.end())
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
