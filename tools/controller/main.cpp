// SPDX-License-Identifier: GPL-3.0-or-later
// quillon-controller: a minimal stand-in for the suite's controller.
//
//   quillon-controller [--exit-with-tools]  register as the controller window
//                                           and print every message received;
//                                           exit after the last tool window
//   quillon-controller --post CODE [--tool N] [--window HANDLE]
//                                           post command CODE to the tool's
//                                           window (default tool 18)

#include "ControllerCommand.h"
#include "ControllerServer.h"
#include "My_types.h"

#include <QCommandLineParser>
#include <QCoreApplication>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stand-in for the suite's controller: without options it registers as the "
                       "controller window and prints one line per message it receives."));
    parser.addHelpOption();
    const QCommandLineOption post(QStringLiteral("post"),
                                  QStringLiteral("Post command <code> to a tool's window."),
                                  QStringLiteral("code"));
    const QCommandLineOption tool(QStringLiteral("tool"), QStringLiteral("Tool number (18)."),
                                  QStringLiteral("number"), QString::number(kBrindleTool));
    const QCommandLineOption window(QStringLiteral("window"),
                                    QStringLiteral("Post to this window handle instead."),
                                    QStringLiteral("handle"), QStringLiteral("0"));
    const QCommandLineOption exitWithTools(
        QStringLiteral("exit-with-tools"),
        QStringLiteral("Exit once the last tool window that announced itself has gone."));
    parser.addOptions({post, tool, window, exitWithTools});
    parser.process(app);

    if (!parser.isSet(post))
        return controller::RunServer(out, err, parser.isSet(exitWithTools));

    bool okCode = false, okTool = false, okWindow = false;
    const uint code = parser.value(post).toUInt(&okCode);
    const uint toolNumber = parser.value(tool).toUInt(&okTool);
    const uint handle = parser.value(window).toUInt(&okWindow);
    if (!okCode || code > 0xFFFF || !okTool || toolNumber > 0xFF || !okWindow) {
        err << "quillon-controller: a code is 0-65535, a tool 0-255, a window a number" << Qt::endl;
        return 2;
    }
    return controller::PostCommand(uint16_t(code), uint8_t(toolNumber), handle, err);
}
