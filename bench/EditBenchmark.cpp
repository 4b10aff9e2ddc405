// Timings of the editing commands and the exports on a generated statement of 100,000 trades: Delete
// trade with half the trades selected, Normalize, Sort trades on shuffled rows, Export txt and Export
// html with its picture. Each case times the command's core as the window runs it, filter pass included;
// the copy of the loaded and filtered session that each iteration starts from is not timed.

#include "ReportGenerator.h"
#include "analysis/Commands.h"
#include "analysis/Filters.h"
#include "charts/EquityCurve.h"
#include "edit/DeleteTrades.h"
#include "edit/NormalizeTrades.h"
#include "edit/SortTrades.h"
#include "export/HtmlPicture.h"
#include "export/TextExport.h"
#include "trades/Session.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace corvane::bench {

namespace {

constexpr long long kClosedTrades = 100000 - kStatementOpenTrades;

// The loaded statement, made once per run in a temporary folder that goes when the program ends.
class LoadedStatement
{
public:
    static LoadedStatement& Instance()
    {
        static LoadedStatement statement;
        return statement;
    }

    const Session& Loaded() const { return m_session; }
    std::string File(const std::string& name) const { return (m_folder / name).string(); }

    ~LoadedStatement()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

private:
    LoadedStatement()
        : m_folder(std::filesystem::temp_directory_path() / ("corvane-edit-bench-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_folder);
        const std::string report = File("statement.htm");
        WriteStatement(report, kClosedTrades);
        if (LoadAndFilter(m_session, report, LoadMode::Replace) != LoadOutcome::Loaded
            || m_session.Full.RowCount() != 100001)
            throw std::runtime_error("the generated statement did not load as 100,000 trades");
    }

    std::filesystem::path m_folder;
    Session m_session;
};

void SetCounters(benchmark::State& state)
{
    state.counters["trades"] = static_cast<double>(LoadedStatement::Instance().Loaded().Full.RowCount() - 1);
}

// A copy of the loaded session as the window holds it: filtered in place, so that the visible rows keep
// the room the filter pass gives them (a copied string has none).
Session WindowSession()
{
    Session session = LoadedStatement::Instance().Loaded();
    ApplyFilters(session, MagicFilterFor(session));
    return session;
}

void DeleteHalf(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Session session = WindowSession();
        state.ResumeTiming();
        benchmark::DoNotOptimize(DeleteTrades(session, 25001, 75000, MagicFilterFor(session)));
    }
    SetCounters(state);
}

void Normalize(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Session session = WindowSession();
        state.ResumeTiming();
        benchmark::DoNotOptimize(NormalizeTrades(session, false, MagicFilterFor(session)));
    }
    SetCounters(state);
}

void SortShuffled(benchmark::State& state)
{
    TextGrid shuffled = LoadedStatement::Instance().Loaded().Grid;
    std::vector<int> order(static_cast<std::size_t>(shuffled.RowCount() - 1));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(2024));
    shuffled.PermuteRows(1, order);
    for (auto _ : state) {
        state.PauseTiming();
        TextGrid grid = shuffled;
        state.ResumeTiming();
        SortGridByTicket(grid);
        benchmark::DoNotOptimize(grid.Cell(kTicket, 1).data());
    }
    SetCounters(state);
}

void ExportTextFile(benchmark::State& state)
{
    const LoadedStatement& statement = LoadedStatement::Instance();
    for (auto _ : state)
        ExportText(statement.Loaded(), statement.File("export.txt"));
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(statement.File("export.txt")));
    SetCounters(state);
}

void ExportHtmlWithPicture(benchmark::State& state)
{
    const LoadedStatement& statement = LoadedStatement::Instance();
    ImageCanvas canvas;
    DrawChartFrame(canvas, kWideWidth);
    for (auto _ : state)
        ExportHtml(statement.Loaded(), statement.File("export.html"), PictureTarget{canvas, kWideWidth});
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(statement.File("export.html")));
    SetCounters(state);
}

} // namespace

BENCHMARK(DeleteHalf)->Name("Delete/50000_of_100000")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Normalize)->Name("Normalize/100000")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(SortShuffled)->Name("Sort/100000_shuffled")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ExportTextFile)->Name("ExportTxt/100000")->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ExportHtmlWithPicture)->Name("ExportHtml/100000_with_picture")->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace corvane::bench

// The picture's text is drawn with a painter, which needs a GUI application; offscreen without a display.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
