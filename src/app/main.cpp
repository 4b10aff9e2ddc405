#include "app/Application.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"

#include <QScreen>

#include <clocale>

int main(int argc, char** argv)
{
    corvane::GuardedApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    corvane::QtDialogs dialogs;
    corvane::TMainForm window(dialogs);
    dialogs.SetParent(&window);
    if (const QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    // An error that escapes the event loop has been shown; the program then ends with status 1.
    return corvane::GuardedApplication::exec();
}
