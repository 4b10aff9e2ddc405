#include "app/Application.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/WindowSettings.h"

#include <QStringList>

#include <clocale>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage = "Usage: corvane4 [REPORT...]\n"
                               "Opens the trading-terminal reports in the window: the first is loaded, every\n"
                               "further one is appended after it. A text the text export wrote is imported.\n"
                               "\n"
                               "Options:\n"
                               "  -h, --help     Show this help and end.\n"
                               "  -v, --version  Show the version and end.\n";

} // namespace

int main(int argc, char** argv)
{
    // Help and version are answered before the window is built, so that they need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::printf("corvane4 %s\n", CORVANE_VERSION);
            return 0;
        }
    }
    corvane::GuardedApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    corvane::QtDialogs dialogs;
    corvane::WindowSettings settings(corvane::WindowSettings::PlatformStore());
    corvane::TMainForm window(dialogs, settings);
    dialogs.SetParent(&window);
    window.ShowAtRememberedPlace();
    // The toolkit has taken its own options (-platform and the like) out of the arguments.
    QStringList reports = QApplication::arguments().mid(1);
    reports.removeIf([](const QString& argument) { return argument.startsWith(QLatin1Char('-')); });
    window.OpenFiles(reports, false);
    // An error that escapes the event loop has been shown; the program then ends with status 1.
    return corvane::GuardedApplication::exec();
}
