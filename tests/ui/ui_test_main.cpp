// Runs the desktop tests headless, with a settings store of their own.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include "shell/qt_translation.h"

int main(int argc, char** argv)
{
    UseJapaneseSystemLocale();  // as the program starts
    // Offscreen, with the options given (a screen of a chosen size, say).
    if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
