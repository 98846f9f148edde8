#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A home of its own, so that the desktop Trash the tests fill is a
    // temporary one; set before anything reads it.
    const QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + "/data"));
    QDir().mkpath(home.path() + "/data");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false); // tests close the main window
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
