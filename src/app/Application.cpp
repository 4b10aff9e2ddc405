#include "app/Application.h"

#include <QMessageBox>

#include <exception>

namespace corvane {

bool DeliverGuarded(const std::function<bool()>& deliver, const std::function<void(const QString&)>& showError,
                    const std::function<void(int)>& exit)
{
    try {
        return deliver();
    } catch (const std::exception& error) {
        showError(QString::fromUtf8(error.what()));
    } catch (...) {
        showError(QString());
    }
    exit(1);
    return false;
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    return DeliverGuarded([&] { return QApplication::notify(receiver, event); },
                          [](const QString& text) { QMessageBox::critical(nullptr, QStringLiteral("Error"), text); },
                          [](int status) { QCoreApplication::exit(status); });
}

} // namespace corvane
