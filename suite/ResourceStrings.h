// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's resource strings. Placeholders are QString::arg markers.

#include <QString>

namespace suite {

// One placeholder: the reference file list as given.
QString QLREferenceTextTooShortOrProblematic();
// One placeholder: the file name.
QString QLFailedToFind();
QString QLNoCorruptFilesFound();

} // namespace suite

namespace suite {

// One placeholder: the tool's display name.
QString QLClosingATool();
// One placeholder: the list's name.
QString QLLoadingX();
// Display names of the 24 visual styles; n is 1-24 (other values give "").
QString QL_TMSStyle(int n);
// The same names one by one, under the names the style table uses.
// clang-format off
#define QL_TMS_STYLE_NAME(n) inline QString QL_TMSStyle##n() { return QL_TMSStyle(n); }
QL_TMS_STYLE_NAME(1) QL_TMS_STYLE_NAME(2) QL_TMS_STYLE_NAME(3) QL_TMS_STYLE_NAME(4)
QL_TMS_STYLE_NAME(5) QL_TMS_STYLE_NAME(6) QL_TMS_STYLE_NAME(7) QL_TMS_STYLE_NAME(8)
QL_TMS_STYLE_NAME(9) QL_TMS_STYLE_NAME(10) QL_TMS_STYLE_NAME(11) QL_TMS_STYLE_NAME(12)
QL_TMS_STYLE_NAME(13) QL_TMS_STYLE_NAME(14) QL_TMS_STYLE_NAME(15) QL_TMS_STYLE_NAME(16)
QL_TMS_STYLE_NAME(17) QL_TMS_STYLE_NAME(18) QL_TMS_STYLE_NAME(19) QL_TMS_STYLE_NAME(20)
QL_TMS_STYLE_NAME(21) QL_TMS_STYLE_NAME(22) QL_TMS_STYLE_NAME(23) QL_TMS_STYLE_NAME(24)
// clang-format on
#undef QL_TMS_STYLE_NAME
                            QString QLError();
QString QLHalting();
// Each is followed directly by the time of day.
QString QLStoppingAtEOF();
QString QLStoppingASAP();
QString QLPanicStopAt();
QString QLListIsLoaded();
QString QLListIsntLoaded();

} // namespace suite
