// SPDX-License-Identifier: GPL-3.0-or-later
#include "SuspectLine.h"

#include "PathEscape.h"

namespace engine {

QByteArray SuspectLine(const QString &path, const TVerdict &verdict) {
    QByteArray line = suite::TsvPath(path);
    line += '\t';
    line += suite::TsvText(verdict.reason);
    line += '\n';
    return line;
}

} // namespace engine
