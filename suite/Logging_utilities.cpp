#include "Logging_utilities.h"

#include <QFile>
#include <QLockFile>
#include <QSaveFile>

bool keeping_log = false;

namespace {
QString gLogFilename;
}

void SetLogFilename(const QString &fileName) {
    gLogFilename = fileName;
}

QString LogFilename() {
    return gLogFilename;
}

void AddToLogFile(const QString &text, bool endLine) {
    if (gLogFilename.isEmpty())
        return;
    QLockFile lock(gLogFilename + QStringLiteral(".lock"));
    if (!lock.lock())
        return;
    QByteArray content;
    if (QFile old(gLogFilename); old.open(QIODevice::ReadOnly))
        content = old.readAll();
    content += text.toUtf8();
    if (endLine)
        content += '\n';
    QSaveFile file(gLogFilename);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size())
        file.commit();
}
