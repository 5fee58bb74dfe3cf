// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real brindle-scan run as a process, its output caught.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct ScanResult {
    int exit = -1;
    QString out;
    QString err;
};

struct RawScanResult {
    int exit = -1;
    QByteArray out;
    QByteArray err;
};

// Runs brindle-scan with `args`, `input` on standard input, in `env` (the
// test's own when empty). A run that does not finish fails the test.
RawScanResult ScanRaw(const QStringList &args, const QByteArray &input = {},
                      const QProcessEnvironment &env = {});
ScanResult Scan(const QStringList &args, const QByteArray &input = {},
                const QProcessEnvironment &env = {});
