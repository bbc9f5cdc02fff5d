#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // Test discovery runs the program without the test environment.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // Backups and recovery files of the windows under test go to a folder of
    // the run's own, never into the home folder.
    QTemporaryDir home;
    ::setenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))).constData(), 1);
    ::setenv("XDG_STATE_HOME", QFile::encodeName(home.filePath(QStringLiteral("state"))).constData(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
