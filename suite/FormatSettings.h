#pragma once
// The user's locale format settings, as far as the program uses them.

#include <QChar>
#include <QString>

namespace suite {

struct TFormatSettings {
    QChar DecimalSeparator = QLatin1Char('.');
    // Qt date format of the user's short dates (for dates in settings files).
    QString ShortDateFormat = QStringLiteral("dd/MM/yyyy");
};

// Read from the system locale once; under the C locale the separator is ".".
const TFormatSettings &UserDefaultFormatSettings();

} // namespace suite
