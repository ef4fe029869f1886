// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolCommands.h"
#include "platform/Fonts.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

QtMessageHandler qtHandler = nullptr;

// stderr carries the tool's own messages: Qt's debug output, notes and warnings
// are dropped; critical and fatal messages go on as before.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg)
        return;
    if (qtHandler)
        qtHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char** argv)
{
    qtHandler = qInstallMessageHandler(quietHandler);
    // No window is ever opened.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::installFontSubstitutions();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = pmrtool::run(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
