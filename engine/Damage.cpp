// SPDX-License-Identifier: GPL-3.0-or-later
#include "Damage.h"

namespace engine {

QLatin1StringView DamageCodeName(TDamageCode code) {
    switch (code) {
    case TDamageCode::Nul:
        return QLatin1StringView("nul");
    case TDamageCode::Control:
        return QLatin1StringView("control");
    case TDamageCode::Replacement:
        return QLatin1StringView("replacement");
    case TDamageCode::Mojibake:
        return QLatin1StringView("mojibake");
    case TDamageCode::OddUtf16:
        return QLatin1StringView("utf16-odd");
    case TDamageCode::SwappedUtf16:
        return QLatin1StringView("utf16-swapped");
    case TDamageCode::Markup:
        return QLatin1StringView("markup");
    case TDamageCode::WordList:
        return QLatin1StringView("word-list");
    case TDamageCode::OneCharacter:
        return QLatin1StringView("one-character");
    case TDamageCode::Empty:
        return QLatin1StringView("empty");
    }
    return QLatin1StringView("damage");
}

std::optional<TDamage> FindDamage(const TFileMeasure &, const TTextFeatures &) {
    return std::nullopt;
}

} // namespace engine
