// SPDX-License-Identifier: GPL-3.0-or-later
#include "My_types.h"

#include <QDir>
#include <QFileInfo>

tool_type current_tool_var = 0;

namespace {

struct TToolEntry {
    tool_type tool;
    const char *name;
    const char *executable;
};

constexpr TToolEntry kTools[] = {
    {kControllerTool, "Quillon Controller", "quillon-controller"},
    {kBrindleTool, "Brindle", "brindle"},
};

const TToolEntry *Find(tool_type tool) {
    for (const TToolEntry &e : kTools)
        if (e.tool == tool)
            return &e;
    return nullptr;
}

// The running executable, from the kernel: right even before an
// application object exists.
QString OwnExecutable() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

} // namespace

tool_type ToolForExecutable(const QString &fileName) {
    return QFileInfo(fileName).fileName() == QLatin1String("quillon-controller") ? kControllerTool
                                                                                 : kBrindleTool;
}

void SetCurrentTool() {
    current_tool_var = ToolForExecutable(OwnExecutable());
}

QString Tool_Name(tool_type tool) {
    const TToolEntry *e = Find(tool);
    return e ? QString::fromLatin1(e->name) : QStringLiteral("Tool %1").arg(tool);
}

QString GetShortToolFilename(tool_type tool) {
    // The running program answers with its own name, whatever it was
    // installed or renamed as.
    if (tool == current_tool_var && tool != 0) {
        const QString own = QFileInfo(OwnExecutable()).fileName();
        if (!own.isEmpty())
            return own;
    }
    const TToolEntry *e = Find(tool);
    return e ? QString::fromLatin1(e->executable) : QStringLiteral("tool%1").arg(tool);
}

QString GetFullToolFilename(tool_type tool) {
    return QFileInfo(OwnExecutable()).absolutePath() + QLatin1Char('/') +
           GetShortToolFilename(tool);
}
