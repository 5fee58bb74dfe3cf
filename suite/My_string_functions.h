// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text helpers of the suite's runtime.

#include <QString>

namespace suite {

// A password as a storable text of digits: each UTF-16 code unit as five
// decimal digits. It keeps the text off casual view in a settings file; it
// is not encryption.
QString PwdToNumStr(const QString &s);
// The inverse of PwdToNumStr; a text that PwdToNumStr cannot have made
// gives an empty text.
QString FromNumStr(const QString &s);

} // namespace suite
