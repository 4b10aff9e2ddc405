#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>

// The window tests need a widget application. Without a display the offscreen platform serves, also
// for ctest's run that only lists the tests.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
