#pragma once

#include "portfolio/Comparison.h"
#include "portfolio/Strategy.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;

namespace corvane {

/**
 * The window of several strategies side by side: the list of the strategies (each report added, or each
 * of its magic numbers), with their currency, trades, weight and the clock of their server; the figures
 * side by side, the combined result and the correlation matrix as text; and the comparison's picture, the
 * same pixels the tool's compare -o writes. Every change of the list, a weight, a clock, the trader's time
 * zone or the rates works the comparison out again; what cannot be applied is said under the list.
 */
class StrategiesWindow : public QWidget
{
    Q_OBJECT

public:
    // `pickReports` answers "Add reports...": the reports chosen, none when cancelled; `loadedReport` "Add the
    // loaded report": the main window's report with the trades its filters keep, none when nothing is loaded.
    StrategiesWindow(std::function<QStringList()> pickReports,
                     std::function<std::optional<StrategySource>()> loadedReport, QWidget* parent = nullptr);
    ~StrategiesWindow() override;

    // Loads each report and adds it; a report that cannot be loaded is named under the list.
    void AddReports(const QStringList& paths);
    // Adds a report the main window has loaded, with the trades its filters keep.
    void AddSource(StrategySource source);
    void RemoveSelected();

    // The comparison on show; none while the list is empty or a setting cannot be applied.
    const Comparison* Shown() const { return m_comparison ? &*m_comparison : nullptr; }
    const QImage& Picture() const;

    QPushButton* AddButton = nullptr;
    QPushButton* AddLoadedButton = nullptr;
    QPushButton* RemoveButton = nullptr;
    QCheckBox* ByMagicBox = nullptr;
    QCheckBox* PercentBox = nullptr;
    QLineEdit* TimeZoneEdit = nullptr;
    QLineEdit* RatesEdit = nullptr;
    QTableWidget* StrategyList = nullptr;
    QLabel* Message = nullptr;
    QTabWidget* Views = nullptr;
    QPlainTextEdit* ComparisonText = nullptr;
    QLabel* PictureLabel = nullptr;

private:
    struct Source
    {
        StrategySource Facts;
        QString Clock; // as typed: "", hours, or the server's zone
    };

    void CreateControls();
    // Works the comparison out again from the sources and the settings, and shows it.
    void Recompute();
    void ShowComparison();
    void FillList(const std::vector<double>& weights);
    void ListEdited(int row, int column);

    std::function<QStringList()> m_pickReports;
    std::function<std::optional<StrategySource>()> m_loadedReport;
    std::vector<Source> m_sources;
    std::vector<Strategy> m_listed;          // the strategies of the list, in its order
    std::vector<std::size_t> m_sourceOfRow;  // the source of each of them
    std::map<std::string, double> m_weights; // by strategy name, kept while the list changes
    std::optional<Comparison> m_comparison;
    std::unique_ptr<QImage> m_picture;
    bool m_filling = false;
};

} // namespace corvane
