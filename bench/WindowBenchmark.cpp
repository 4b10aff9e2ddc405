// Timings of the window with a 100,000-trade statement: Load File through the window until the
// summary shows (the load lets events through after every trade line), a click in the symbol list
// with the equity curve on show (filter pass, summary, grids, chart), and a redraw of either chart.

#include "ReportGenerator.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "charts/EquityCurve.h"
#include "charts/ImageCanvas.h"
#include "charts/TimeOfWeekChart.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace corvane::bench {

namespace {

constexpr long long kTrades = 100000;

class AnsweredDialogs : public Dialogs
{
public:
    explicit AnsweredDialogs(QString report) : m_report(std::move(report)) {}
    std::optional<QString> OpenReport(const QString&) override { return m_report; }
    std::optional<QString> OpenImport() override { return std::nullopt; }
    std::optional<QString> SaveTarget(const QString&, const QString&) override { return std::nullopt; }
    void ShowError(const QString&) override {}

private:
    QString m_report;
};

const std::string& ReportPath()
{
    static const std::string path = [] {
        const auto folder = std::filesystem::temp_directory_path() / "corvane-window-bench";
        std::filesystem::create_directories(folder);
        const std::string file = (folder / "statement-100000.htm").string();
        WriteReport(ReportType::Statement, file, kTrades);
        return file;
    }();
    return path;
}

// A shown window with the report loaded and the equity curve on show.
struct LoadedWindow
{
    LoadedWindow() : Dialogs(QString::fromStdString(ReportPath())), Window(Dialogs)
    {
        Window.show();
        Window.AnalyzeButton->click();
        Window.Button2->click();
        QApplication::processEvents();
    }

    AnsweredDialogs Dialogs;
    TMainForm Window;
};

void WindowLoad(benchmark::State& state)
{
    AnsweredDialogs dialogs(QString::fromStdString(ReportPath()));
    TMainForm window(dialogs);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        window.AnalyzeButton->click();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.Memo1->toPlainText().size());
    }
    state.counters["trades"] = static_cast<double>(window.GetSession().Full.RowCount() - 1);
}
BENCHMARK(WindowLoad)->Unit(benchmark::kMillisecond);

void SymbolListClick(benchmark::State& state)
{
    LoadedWindow loaded;
    QListWidget* pairs = loaded.Window.PairsListBox;
    bool one = false;
    for (auto _ : state) {
        one = !one;
        if (one)
            pairs->setCurrentRow(0, QItemSelectionModel::ClearAndSelect); // a plain click on the first symbol
        else
            pairs->selectAll();
        QApplication::processEvents();
    }
    state.counters["visible"] = static_cast<double>(loaded.Window.GetSession().Grid.RowCount() - 1);
}
BENCHMARK(SymbolListClick)->Unit(benchmark::kMillisecond);

void EquityCurveRedraw(benchmark::State& state)
{
    LoadedWindow loaded;
    ImageCanvas canvas;
    const Session& session = loaded.Window.GetSession();
    for (auto _ : state)
        DrawEquityCurve(canvas, session.Grid, session.Report.InitialDeposit, kWideWidth);
}
BENCHMARK(EquityCurveRedraw)->Unit(benchmark::kMillisecond);

void TimeChartRedraw(benchmark::State& state)
{
    LoadedWindow loaded;
    ImageCanvas canvas;
    const Session& session = loaded.Window.GetSession();
    for (auto _ : state)
        DrawTimeOfWeekChart(canvas, session.Grid, false, kWideWidth);
}
BENCHMARK(TimeChartRedraw)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace corvane::bench

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / "corvane-window-bench");
    return 0;
}
