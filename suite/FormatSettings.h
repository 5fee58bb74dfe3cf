#pragma once
// The user's locale format settings, as far as the program uses them.

#include <QChar>

namespace suite {

struct TFormatSettings {
    QChar DecimalSeparator = QLatin1Char('.');
};

// Read from the system locale once; under the C locale the separator is ".".
const TFormatSettings &UserDefaultFormatSettings();

} // namespace suite
