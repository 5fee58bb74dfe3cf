#include "FormatSettings.h"

#include <QLocale>

namespace suite {

const TFormatSettings &UserDefaultFormatSettings() {
    static const TFormatSettings settings = [] {
        TFormatSettings s;
        const QString point = QLocale::system().decimalPoint();
        if (point.size() == 1)
            s.DecimalSeparator = point.at(0);
        return s;
    }();
    return settings;
}

} // namespace suite
