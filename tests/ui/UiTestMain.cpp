#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The windows are drawn off screen unless a test run asks otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Tests close the main window; that must not end the event loops of
    // the tests that follow.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
