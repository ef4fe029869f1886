// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Fonts.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The editors under test keep their recovery copies out of the user's folder.
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    testsupport::installDefaults();
    platform::installFontSubstitutions(); // as the editor and pmrtool start
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
