#pragma once
// The error that ends a run: which file, and why.

#include <QString>
#include <stdexcept>

namespace suite {

// Raised when a file of a run (or a reference file) cannot be read, or when
// its profile cannot be made. `what()` is "PATH: CAUSE" in UTF-8, ready for
// a message box or a line on standard error.
class TRunError : public std::runtime_error {
public:
    TRunError(const QString &path, const QString &cause)
        : std::runtime_error((path + QStringLiteral(": ") + cause).toStdString()), fPath(path),
          fCause(cause) {}
    const QString &path() const { return fPath; }
    const QString &cause() const { return fCause; }
    QString message() const { return fPath + QStringLiteral(": ") + fCause; }

private:
    QString fPath;
    QString fCause;
};

} // namespace suite
