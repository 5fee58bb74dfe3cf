// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormatSettings.h"

#include <QLocale>
#include <QTime>

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
        s.LongTimeFormat = QLocale::system().timeFormat(QLocale::LongFormat);
        return s;
    }();
    return settings;
}

QString TimeOfDayText() {
    return QLocale::system().toString(QTime::currentTime(),
                                      UserDefaultFormatSettings().LongTimeFormat);
}

} // namespace suite
