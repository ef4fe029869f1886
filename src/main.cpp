#include "app/CardApp.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::installFontSubstitutions();

    // The document path is the whole command line after the program name; the
    // shell has split it, so join it back with single spaces.
    const QString commandLine = app.arguments().mid(1).join(QLatin1Char(' '));

    CardApp cardApp;
    return cardApp.run(commandLine);
}
