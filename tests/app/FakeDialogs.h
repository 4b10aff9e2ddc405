#pragma once

#include "app/Dialogs.h"

#include <QStringList>

#include <functional>

namespace corvane::test {

// Answers the window's dialogs as a test tells it to and keeps the texts of the error boxes.
class FakeDialogs : public Dialogs
{
public:
    std::optional<QString> Report;      // the next answer of the open dialog; nothing means cancelled
    std::function<void()> WhenAsked;    // runs each time the open dialog is asked, before it answers
    std::optional<QString> Import;      // the next answer of the import dialog
    std::optional<QString> SaveTarget_; // the next answer of the save dialog
    QString Proposed;                   // the name the save dialog was last opened with
    QString Started;                    // where the open dialog was last started
    QStringList Errors;
    int ReportAsked = 0;

    std::optional<QString> OpenReport(const QString& current) override
    {
        Started = current;
        ++ReportAsked;
        if (WhenAsked)
            WhenAsked();
        return Report;
    }
    std::optional<QString> OpenImport() override { return Import; }
    std::optional<QString> SaveTarget(const QString& proposed, const QString&) override
    {
        Proposed = proposed;
        return SaveTarget_;
    }
    void ShowError(const QString& text) override { Errors << text; }
};

} // namespace corvane::test
