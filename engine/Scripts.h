// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The writing systems of letter pairs: which scripts a reference set holds,
// and whether a text's letters are mostly in scripts that no set holds.
// Such a text is not judged by its letter pairs: nearly all of its pairs are
// pairs no set has counted, so its score would only say that its script
// differs, which is no damage.

#include "DigraphProfile.h"

#include <QChar>
#include <QString>
#include <optional>
#include <vector>

namespace engine {

// The scripts a set holds: each that at least a tenth of its letters are
// in, enough pairs to judge a text by, and more than a few names or
// quotations in another script.
std::vector<QChar::Script> HeldScripts(const TDigraphProfile &set);

// The script most of the text's letters outside `held` are in, when more
// than half of its letters are outside `held` (then most of its pairs are);
// none otherwise, or when `held` is empty (nothing known of the sets).
std::optional<QChar::Script> UnheldScript(const TDigraphProfile &text,
                                          const std::vector<QChar::Script> &held);

// "Han", "Arabic", …; "another script" for one not named here.
QString ScriptName(QChar::Script script);

} // namespace engine
