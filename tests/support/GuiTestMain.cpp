#include <gtest/gtest.h>

#include <clocale>

#ifdef CORVANE_TEST_WIDGETS
#include <QApplication>
#include <QStandardPaths>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

// The main() of the suites that need a Qt application: the window tests a widget application, the charts
// and the export's picture a GUI one, for the painter that writes text. Without a display the offscreen
// platform serves, also for ctest's run that only lists the tests. As in the program, LC_NUMERIC goes
// back to "C" once the application object has set the locale from the environment. The window's tests
// keep whatever the platform's own places would hold in a place of their own, never the user's settings.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
#ifdef CORVANE_TEST_WIDGETS
    QStandardPaths::setTestModeEnabled(true);
#endif
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
