// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CardApp.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Ties the windows to the menu entry pelmora.desktop (Wayland app id, icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("pelmora"));
    platform::installFontSubstitutions();
    // The interface is Japanese, so Qt's own dialogs speak it too.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    // The document path is the whole command line after the program name; the
    // shell has split it, so join it back with single spaces.
    const QString commandLine = app.arguments().mid(1).join(QLatin1Char(' '));

    CardApp cardApp;
    return cardApp.run(commandLine);
}
