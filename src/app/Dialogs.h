#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

class QWidget;

namespace corvane {

struct MonteCarloChoices;

/**
 * The window's dialogs and message boxes, behind an interface so that tests can answer them.
 * A cancelled dialog gives no path.
 */
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // "Report files" (*.htm, *.cvn), starting at `current`.
    virtual std::optional<QString> OpenReport(const QString& current) = 0;
    // Several reports at once, for the strategies window; by default the one OpenReport gives.
    virtual QStringList OpenReports(const QString& current)
    {
        const std::optional<QString> one = OpenReport(current);
        return one ? QStringList{*one} : QStringList{};
    }
    // "Corvane files" (*.txt).
    virtual std::optional<QString> OpenImport() = 0;
    // A file to save, `proposed` filled in; a name typed without extension gets `defaultSuffix`.
    virtual std::optional<QString> SaveTarget(const QString& proposed, const QString& defaultSuffix) = 0;
    virtual void ShowError(const QString& text) = 0;
    // The choices of the Monte Carlo view, `current` filled in; nothing when cancelled. Unless a dialog
    // asks, `current` stands (MonteCarloDialog.cpp).
    virtual std::optional<MonteCarloChoices> AskMonteCarlo(const MonteCarloChoices& current);
};

// The toolkit's own file dialogs and error box.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    std::optional<QString> OpenReport(const QString& current) override;
    QStringList OpenReports(const QString& current) override;
    std::optional<QString> OpenImport() override;
    std::optional<QString> SaveTarget(const QString& proposed, const QString& defaultSuffix) override;
    void ShowError(const QString& text) override;
    std::optional<MonteCarloChoices> AskMonteCarlo(const MonteCarloChoices& current) override;

private:
    QWidget* m_parent;
};

// A path the dialogs gave, as the UTF-8 text the core's readers and writers take (PlatformFiles.h).
std::string LocalPath(const QString& path);

} // namespace corvane
