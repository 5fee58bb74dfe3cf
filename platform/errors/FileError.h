// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The error of a file that cannot be read or written: which file, and why.
// The subsystems raise their own kinds of it (a run's, a settings file's) so
// that each catches only its own.

#include <QString>
#include <stdexcept>

namespace platform {

// `what()` is "PATH: CAUSE" in UTF-8, ready for a message box or a line on
// standard error.
class TFileError : public std::runtime_error {
public:
    TFileError(const QString &path, const QString &cause)
        : std::runtime_error((path + QStringLiteral(": ") + cause).toStdString()), fPath(path),
          fCause(cause) {}
    const QString &path() const { return fPath; }
    const QString &cause() const { return fCause; }
    QString message() const { return fPath + QStringLiteral(": ") + fCause; }

private:
    QString fPath;
    QString fCause;
};

} // namespace platform
