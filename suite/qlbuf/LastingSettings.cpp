// SPDX-License-Identifier: GPL-3.0-or-later
#include "LastingSettings.h"

#include <QStandardPaths>

namespace qlbuf {

std::unique_ptr<QSettings> LastingSettings() {
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/Quillon/qlbuf.ini");
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

} // namespace qlbuf
