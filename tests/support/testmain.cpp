#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every test binary starts in a throw-away world: even a test that forgets
// its own TestEnv never reads or writes the user's real files.
int main(int argc, char** argv)
{
    QTemporaryDir world;
    qputenv("HOME", world.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (world.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", world.path().toLocal8Bit());
    qputenv("PHRASORA_PROGRAM_DIR", (world.path() + QStringLiteral("/program")).toLocal8Bit());
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
