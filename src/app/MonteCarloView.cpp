// The window's Monte Carlo view, "Luck": a run of the kept trades on a thread of its own, its progress and
// then its fan chart and drawdown histogram on the chart surface.
#include "app/MainWindow.h"

#include "app/ChartWidget.h"
#include "app/MonteCarloRun.h"
#include "app/WindowRules.h"
#include "charts/MonteCarloChart.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <cmath>

namespace corvane {

namespace {

// How often the view looks at a run going on.
constexpr int kLookEvery = 100;

} // namespace

void TMainForm::CreateMonteCarloControls()
{
    Button11 = MakeButton("Button11", QStringLiteral("Luck"));
    Button11->setToolTip(QStringLiteral("Monte Carlo: what else the same trades could have done "
                                        "(Shift or Ctrl: choose the method, runs and levels)"));
    for (int i = 0; i < kControlPlaceCount; ++i)
        if (const ControlPlace& place = kControlPlaces[i]; place.Name == std::string_view("Button11"))
            Button11->setGeometry(place.Left, place.Top, place.Width, place.Height);
    // In the tab order after the other views.
    setTabOrder(Button3, Button11);
    setTabOrder(Button11, Button4);
    connect(Button11, &QPushButton::clicked, this, &TMainForm::Button11Click);
    m_monteCarlo = std::make_unique<MonteCarloRun>();
    m_monteCarloTimer = new QTimer(this);
    m_monteCarloTimer->setInterval(kLookEvery);
    connect(m_monteCarloTimer, &QTimer::timeout, this, &TMainForm::MonteCarloTick);
}

void TMainForm::Button11MouseDown(Qt::KeyboardModifiers modifiers)
{
    m_monteCarloAsk = ModifierHeld(modifiers);
}

void TMainForm::Button11Click()
{
    RunCommand([this] {
        if (IsBusy())
            return;
        MonteCarloRun& run = *m_monteCarlo;
        // A click while a run goes on stops it.
        if (m_viewMode == ViewMode::MonteCarlo && run.Running() && !run.Finished()) {
            run.Stop();
            m_monteCarloTimer->stop();
            ShowMonteCarlo();
            return;
        }
        if (m_monteCarloAsk) {
            const std::optional<MonteCarloChoices> chosen = m_dialogs.AskMonteCarlo(run.Choices);
            if (!chosen)
                return;
            run.Choices = *chosen;
        }
        m_viewMode = ViewMode::MonteCarlo;
        Memo1->hide();
        StartMonteCarlo();
    });
}

void TMainForm::StartMonteCarlo()
{
    MonteCarloRun& run = *m_monteCarlo;
    MonteCarloSettings settings = run.Choices.Settings;
    if (!run.Choices.FixedSeed)
        settings.Seed = FreshSeed();
    run.Start(MonteCarloTradesOf(m_session, settings), settings);
    m_monteCarloTimer->start();
    ShowMonteCarlo();
}

void TMainForm::RefreshMonteCarlo()
{
    MonteCarloRun& run = *m_monteCarlo;
    const MonteCarloChoices& choices = run.Choices;
    if (!run.SameAs(MonteCarloTradesOf(m_session, choices.Settings), choices.Settings, !choices.FixedSeed)) {
        StartMonteCarlo();
        return;
    }
    ShowMonteCarlo();
}

void TMainForm::MonteCarloTick()
{
    MonteCarloRun& run = *m_monteCarlo;
    if (m_viewMode != ViewMode::MonteCarlo) {
        // Another view was chosen: its click ends the run.
        run.Stop();
        m_monteCarloTimer->stop();
        return;
    }
    if (run.Finished()) {
        run.Ended();
        m_monteCarloTimer->stop();
    }
    ShowMonteCarlo();
}

void TMainForm::ShowMonteCarlo()
{
    const MonteCarloRun& run = *m_monteCarlo;
    const int width = Image1->width();
    const MonteCarloSettings& settings = run.Settings();
    if (run.Running() && !run.Finished()) {
        const auto percent = static_cast<long long>(std::floor(run.Done() * 100));
        DrawMonteCarloMessage(m_canvas,
                              "Monte Carlo (" + std::string(MethodName(settings.Method)) + ", seed "
                                  + std::to_string(settings.Seed) + "): " + std::to_string(percent) + "% of "
                                  + std::to_string(settings.Runs) + " runs. Click Luck again to stop.",
                              width);
    } else if (run.Result()) {
        DrawMonteCarloChart(m_canvas, *run.Result(), width);
    } else if (!run.Failure().empty()) {
        DrawMonteCarloMessage(m_canvas, "Monte Carlo: " + run.Failure(), width);
    } else {
        DrawMonteCarloMessage(m_canvas, "Monte Carlo stopped. Click Luck to run it again.", width);
    }
    Image1->update();
}

} // namespace corvane
