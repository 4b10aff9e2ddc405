// Views beside the ones the window was laid out with: the window of several strategies side by side
// ("Compare"), fed by the loaded report, and the equity curve by close time, from the chart area's menu.
#include "app/MainWindow.h"

#include "app/ChartWidget.h"
#include "app/StrategiesWindow.h"

#include "portfolio/SettingsText.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

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
    menu.addSeparator();
    menu.addAction(QStringLiteral("Trader's clock..."), this, &TMainForm::AskTraderClock);
    menu.exec(Image1->mapToGlobal(at));
}

void TMainForm::ShowCalendarCurve()
{
    ShowChart(ViewMode::EquityByCloseTime);
}

void TMainForm::SetTraderClock(const ClockShift& clock)
{
    RunCommand([&] {
        if (IsBusy())
            return;
        m_clock = clock;
        // Without a clock the figures of the last filter pass come back as it showed them.
        if (!m_clock.Shifts() && !NothingLoaded(m_session))
            ApplyFilters(m_session, ShownMagicFilter());
        RefreshViews();
        if (Memo1->isHidden())
            ChartRefresh();
    });
}

// "+3", or the server's zone and the trader's: "EET Asia/Tokyo"; empty for the report's own times.
void TMainForm::AskTraderClock()
{
    bool accepted = false;
    const QString text = QInputDialog::getText(
        this, QStringLiteral("Trader's clock"),
        QStringLiteral("Hours to shift the report's times (+3), or the server's zone and yours (EET Asia/Tokyo);\n"
                       "empty for the report's own times:"),
        QLineEdit::Normal, m_clockText, &accepted);
    if (!accepted)
        return;
    RunCommand([&] {
        const QStringList parts = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const ClockShift clock = ClockOfText(parts.value(0).toStdString(), parts.value(1).toStdString());
        m_clockText = text.simplified();
        SetTraderClock(clock);
    });
}

} // namespace corvane
