// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScanProcess.h"

#include <QProcess>
#include <gtest/gtest.h>

RawScanResult ScanRaw(const QStringList &args, const QByteArray &input,
                      const QProcessEnvironment &env) {
    QProcess p;
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.start(QStringLiteral(BRINDLE_SCAN), args);
    EXPECT_TRUE(p.waitForStarted());
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    // A hang (on a FIFO, say) fails here instead of blocking the suite.
    EXPECT_TRUE(p.waitForFinished(60000)) << "brindle-scan did not finish";
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

ScanResult Scan(const QStringList &args, const QByteArray &input, const QProcessEnvironment &env) {
    const RawScanResult r = ScanRaw(args, input, env);
    return {r.exit, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}
