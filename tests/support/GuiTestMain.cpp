#include <QThreadPool>

#include <gtest/gtest.h>

#include <clocale>

#ifdef _WIN32
#include <QFont>
#endif

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
    // The painter fills long runs of spans on Qt's global thread pool. At exit Qt waits for the pool's work
    // but not for its threads to be gone, and the leak check then finds the data of a thread still ending:
    // the pool's threads end with their work instead.
    QThreadPool::globalInstance()->setExpiryTimeout(0);
#ifdef _WIN32
    // On Windows the offscreen platform takes its fonts from QT_QPA_FONTDIR (scripts/windows-test-window
    // names DejaVu and WenQuanYi there, the faces the suites are measured with on Linux) and, unlike
    // fontconfig, falls back by no style: the window's Windows faces are given the faces fontconfig gives.
    if (QGuiApplication::platformName() == QStringLiteral("offscreen")) {
        for (const char* mono : {"Terminal", "Courier New"})
            QFont::insertSubstitutions(QString::fromLatin1(mono),
                                       {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("WenQuanYi Zen Hei Mono")});
    }
#endif
    return RUN_ALL_TESTS();
}
