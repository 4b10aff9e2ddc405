// Views beside the ones the window was laid out with: the window of several strategies side by side
// ("Compare"), fed by the loaded report, and the equity curve by close time, from the chart area's menu.
#include "app/MainWindow.h"

#include "app/ChartWidget.h"
#include "app/StrategiesWindow.h"

#include <QMenu>

namespace corvane {

void TMainForm::CompareButtonClick()
{
    RunCommand([this] {
        if (IsBusy())
            return;
        const auto loaded = [this]() -> std::optional<StrategySource> {
            if (NothingLoaded(m_session))
                return std::nullopt;
            return SourceOfSession(m_session, m_session.TradesFile);
        };
        if (!m_strategies) {
            m_strategies = new StrategiesWindow([this] { return m_dialogs.OpenReports(m_lastReport); }, loaded, this);
            if (std::optional<StrategySource> source = loaded())
                m_strategies->AddSource(std::move(*source));
        }
        m_strategies->show();
        m_strategies->raise();
        m_strategies->activateWindow();
    });
}

void TMainForm::ChartMenu(const QPoint& at)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("Equity curve in table order"), this, &TMainForm::Button2Click);
    menu.addAction(QStringLiteral("Equity curve by close time"), this, &TMainForm::ShowCalendarCurve);
    menu.exec(Image1->mapToGlobal(at));
}

void TMainForm::ShowCalendarCurve()
{
    ShowChart(ViewMode::EquityByCloseTime);
}

} // namespace corvane
