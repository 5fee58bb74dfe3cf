// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's locale format settings, as far as the program uses them.

#include <QChar>
#include <QString>

namespace suite {

struct TFormatSettings {
    QChar DecimalSeparator = QLatin1Char('.');
    // Qt date format of the user's short dates (for dates in settings files).
    QString ShortDateFormat = QStringLiteral("dd/MM/yyyy");
    // Qt time format of the user's long times (for log lines).
    QString LongTimeFormat = QStringLiteral("HH:mm:ss");
};

// Read from the system locale once; under the C locale the separator is ".".
const TFormatSettings &UserDefaultFormatSettings();

// The time of day now in the user's long time format, as log lines carry it.
QString TimeOfDayText();

} // namespace suite
