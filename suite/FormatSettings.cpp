#include "FormatSettings.h"

#include <QLocale>

namespace suite {

const TFormatSettings &UserDefaultFormatSettings() {
    static const TFormatSettings settings = [] {
        TFormatSettings s;
        const QString point = QLocale::system().decimalPoint();
        if (point.size() == 1)
            s.DecimalSeparator = point.at(0);
        s.ShortDateFormat = QLocale::system().dateFormat(QLocale::ShortFormat);
        // A two-digit year would come back in the wrong century.
        if (!s.ShortDateFormat.contains(QLatin1String("yyyy")))
            s.ShortDateFormat.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        return s;
    }();
    return settings;
}

} // namespace suite
