#include "app/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace corvane {

namespace {
std::optional<QString> Chosen(const QString& path)
{
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}
} // namespace

std::string LocalPath(const QString& path)
{
    // UTF-8, as the core takes paths on every system, and with the system's separators: on Windows Qt's '/'
    // becomes '\', as in the paths the tool and the system's own dialogs show.
    return QDir::toNativeSeparators(path).toStdString();
}

std::optional<QString> QtDialogs::OpenReport(const QString& current)
{
    return Chosen(
        QFileDialog::getOpenFileName(m_parent, QString(), current, QStringLiteral("Report files (*.htm *.cvn)")));
}

QStringList QtDialogs::OpenReports(const QString& current)
{
    return QFileDialog::getOpenFileNames(m_parent, QString(), current,
                                         QStringLiteral("Report files (*.htm *.html *.cvn)"));
}

std::optional<QString> QtDialogs::OpenImport()
{
    return Chosen(
        QFileDialog::getOpenFileName(m_parent, QString(), QString(), QStringLiteral("Corvane files (*.txt)")));
}

std::optional<QString> QtDialogs::SaveTarget(const QString& proposed, const QString& defaultSuffix)
{
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!proposed.isEmpty())
        dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return Chosen(dialog.selectedFiles().constFirst());
}

void QtDialogs::ShowError(const QString& text)
{
    QMessageBox::critical(m_parent, QStringLiteral("Error"), text);
}

} // namespace corvane
