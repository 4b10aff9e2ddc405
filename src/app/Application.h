#pragma once

#include <QApplication>
#include <QString>

#include <functional>

namespace corvane {

/**
 * Runs `deliver` (one event's delivery). An error that escapes it, and so would escape the event loop,
 * is shown with `showError` (an error without text with an empty one) and ends the program through
 * `exit` with status 1; the delivery then counts as not handled.
 */
bool DeliverGuarded(const std::function<bool()>& deliver, const std::function<void(const QString&)>& showError,
                    const std::function<void(int)>& exit);

// The program's application object: every event is delivered through DeliverGuarded.
class GuardedApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace corvane
