#include <QGuiApplication>

#include <gtest/gtest.h>

// The charts write text with a painter, which needs a GUI application. Without a display the offscreen
// platform serves, also for ctest's run that only lists the tests.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
