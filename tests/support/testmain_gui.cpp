#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The main of tests that need QtGui (documents, fonts, images): the same
// throw-away world as the headless tests, with an offscreen platform unless
// the caller chose one.
int main(int argc, char** argv) {
    QTemporaryDir world;
    qputenv("HOME", world.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (world.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", world.path().toLocal8Bit());
    qputenv("PHRASORA_PROGRAM_DIR", (world.path() + QStringLiteral("/program")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
