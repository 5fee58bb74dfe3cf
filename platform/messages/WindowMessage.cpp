// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowMessage.h"

#include "PrivateFolder.h"

#include <QtEndian>

namespace platform {

QByteArray EncodeMessage(const TMessage &m) {
    QByteArray out(kMessageRecordSize, '\0');
    qToLittleEndian<uint32_t>(m.message, out.data());
    qToLittleEndian<uint32_t>(m.wParam, out.data() + 4);
    qToLittleEndian<uint32_t>(m.lParam, out.data() + 8);
    return out;
}

std::optional<TMessage> DecodeMessage(const QByteArray &record) {
    if (record.size() != kMessageRecordSize)
        return std::nullopt;
    const char *p = record.constData();
    return TMessage{qFromLittleEndian<uint32_t>(p), qFromLittleEndian<uint32_t>(p + 4),
                    qFromLittleEndian<uint32_t>(p + 8)};
}

QString WindowSocketPath(TWindowHandle handle) {
    const QString folder = PrivateRuntimeFolder(QStringLiteral("windows"));
    if (folder.isEmpty() || handle == 0)
        return QString();
    return folder + QLatin1Char('/') + QString::number(handle);
}

} // namespace platform
