// SPDX-License-Identifier: GPL-3.0-or-later
#include "IsolatedEnv.h"

#include <QDir>
#include <QFile>
#include <QtGlobal>

namespace {
const char *const kVariables[] = {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                  "XDG_CACHE_HOME"};
}

IsolatedEnv::IsolatedEnv() {
    for (const char *name : kVariables) {
        fSaved[name] =
            qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        const QString folder = fDir.file(QString::fromLatin1(name).toLower());
        QDir().mkpath(folder);
        // The runtime folder must be private, as the session state needs.
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, QFile::encodeName(folder));
    }
}

IsolatedEnv::~IsolatedEnv() {
    for (const auto &[name, value] : fSaved) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
}
