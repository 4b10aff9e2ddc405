#include "Dialogs.h"
#include "MainWindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include <clocale>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    corvane::QtDialogs dialogs;
    corvane::TMainForm window(dialogs);
    dialogs.SetParent(&window);
    if (const QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    try {
        return application.exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Error"), QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
