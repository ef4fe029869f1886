#include "ToolCommands.h"
#include "platform/Fonts.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
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
