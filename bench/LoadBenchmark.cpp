// Timings of the Load File path (load, filter pass and summary) and of a symbol-list click on large
// generated reports: the generator's, and those of the perf shape grown from real terminal output
// (PerfShape.h) when its sources are there. Each report is generated once per run into a temporary folder.
//
// Every load case gives its time as a multiple of the time to count the same file's lines in the same run
// (x_line_count), a yardstick that moves with the machine.
//
// The "own_process" cases run every load in a fresh child process (this program started again with
// --load-once), so that their peak resident memory is the load's own and not that of the cases before.

#include "PerfShape.h"
#include "ReportGenerator.h"
#include "analysis/Commands.h"
#include "analysis/Filters.h"
#include "reports/LoadReport.h"
#include "trades/Session.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

extern char** environ;

namespace corvane::bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kLoadOnceFlag = "--load-once";

std::string_view TypeName(ReportType type)
{
    switch (type) {
    case ReportType::Statement:
        return "statement";
    case ReportType::Tester:
        return "tester";
    case ReportType::Mt5History:
        return "mt5-history";
    case ReportType::Mt5Tester:
        return "mt5-tester";
    case ReportType::PerfStatement:
        return "perf-statement";
    case ReportType::PerfTester:
        return "perf-tester";
    }
    return "";
}

struct ReportFile
{
    std::string Path;
    GeneratedReport Report;
};

/**
 * The generated reports of this run, each written on first use into one temporary folder that is
 * removed when the program ends.
 */
class ReportFiles
{
public:
    static ReportFiles& Instance()
    {
        static ReportFiles files;
        return files;
    }

    const ReportFile& Get(ReportType type, long long trades)
    {
        const auto key = std::make_pair(type, trades);
        auto found = m_files.find(key);
        if (found == m_files.end()) {
            ReportFile file;
            const std::string name = std::string(TypeName(type)) + "-" + std::to_string(trades) + ".htm";
            file.Path = (m_folder / name).string();
            file.Report = WriteReport(type, file.Path, trades);
            found = m_files.emplace(key, std::move(file)).first;
        }
        return found->second;
    }

    ~ReportFiles()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    ReportFiles(const ReportFiles&) = delete;
    ReportFiles& operator=(const ReportFiles&) = delete;

private:
    ReportFiles()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvane-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder from " + pattern);
        m_folder = pattern;
    }

    std::filesystem::path m_folder;
    std::map<std::pair<ReportType, long long>, ReportFile> m_files;
};

double Seconds(Clock::duration elapsed)
{
    return std::chrono::duration<double>(elapsed).count();
}

int TradeRows(const Session& session)
{
    return session.Full.RowCount() - 1;
}

// The report's size; for a load also its rate in trades and bytes per second.
void SetCounters(benchmark::State& state, const ReportFile& file, bool load = true)
{
    state.counters["trades"] = static_cast<double>(file.Report.TradeRows);
    state.counters["file_MB"] = static_cast<double>(file.Report.Bytes) / 1e6;
    if (!load)
        return;
    state.SetItemsProcessed(state.iterations() * file.Report.TradeRows);
    state.SetBytesProcessed(state.iterations() * file.Report.Bytes);
}

std::string Mismatch(const ReportFile& file, bool loaded, long long rows)
{
    std::ostringstream text;
    text << file.Path << (loaded ? "" : " was not loaded") << ": " << rows << " trade rows, expected "
         << file.Report.TradeRows;
    return text.str();
}

/**
 * The time to count the lines of `path` as `wc -l` does (read in large pieces, newlines found with
 * memchr), best of three: the yardstick the load's time is compared with.
 */
double LineCountSeconds(const std::string& path)
{
    double best = 0.0;
    std::vector<char> buffer(1 << 17);
    for (int run = 0; run < 3; ++run) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr)
            return 0.0;
        const Clock::time_point start = Clock::now();
        long long lines = 0;
        for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0;) {
            const char* p = buffer.data();
            const char* end = p + got;
            while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)))) != nullptr) {
                ++lines;
                ++p;
            }
        }
        const double seconds = Seconds(Clock::now() - start);
        std::fclose(file);
        benchmark::DoNotOptimize(lines);
        best = run == 0 ? seconds : std::min(best, seconds);
    }
    return best;
}

// The load's mean time over `seconds`, the sum of its iterations' times, as a multiple of the time to count
// the file's lines, counted now.
void SetLineCountRatio(benchmark::State& state, const ReportFile& file, double seconds)
{
    const double lineCount = LineCountSeconds(file.Path);
    if (lineCount > 0 && seconds > 0 && state.iterations() > 0)
        state.counters["x_line_count"] = seconds / static_cast<double>(state.iterations()) / lineCount;
}

// Load File on a fresh session, timed without building and destroying the session.
void LoadAndFilterInProcess(benchmark::State& state, ReportType type, long long trades)
{
    const ReportFile& file = ReportFiles::Instance().Get(type, trades);
    double seconds = 0.0;
    for (auto _ : state) {
        auto session = std::make_unique<Session>();
        const Clock::time_point start = Clock::now();
        const LoadOutcome outcome = LoadAndFilter(*session, file.Path, LoadMode::Replace);
        const double elapsed = Seconds(Clock::now() - start);
        state.SetIterationTime(elapsed);
        seconds += elapsed;
        if (outcome != LoadOutcome::Loaded || TradeRows(*session) != file.Report.TradeRows) {
            state.SkipWithError(Mismatch(file, outcome == LoadOutcome::Loaded, TradeRows(*session)).c_str());
            break;
        }
    }
    SetCounters(state, file);
    SetLineCountRatio(state, file, seconds);
}

// The load alone, without the filter pass: with LoadAndFilter it splits the time between the two.
void LoadOnly(benchmark::State& state, ReportType type, long long trades)
{
    const ReportFile& file = ReportFiles::Instance().Get(type, trades);
    double seconds = 0.0;
    for (auto _ : state) {
        auto session = std::make_unique<Session>();
        const Clock::time_point start = Clock::now();
        const LoadOutcome outcome = LoadReport(*session, file.Path, LoadMode::Replace);
        const double elapsed = Seconds(Clock::now() - start);
        state.SetIterationTime(elapsed);
        seconds += elapsed;
        if (outcome != LoadOutcome::Loaded) {
            state.SkipWithError(Mismatch(file, false, TradeRows(*session)).c_str());
            break;
        }
    }
    SetCounters(state, file);
    SetLineCountRatio(state, file, seconds);
}

struct ChildLoad
{
    bool Ok = false;
    double Seconds = 0.0;
    long long Rows = 0;
    long PeakKiB = 0;
    std::string Error;
};

// Runs this program again with --load-once on `path` and reads back what the child measured.
ChildLoad LoadInChildProcess(const std::string& path)
{
    ChildLoad result;
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string flag(kLoadOnceFlag);
    std::string file = path;
    std::vector<char*> argv = {self.data(), flag.data(), file.data(), nullptr};

    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        result.Error = "pipe failed";
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        result.Error = "cannot start " + self;
        return result;
    }

    std::string output;
    char buffer[256];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(got));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);

    std::istringstream fields(output);
    int loaded = 0;
    fields >> result.Seconds >> loaded >> result.Rows >> result.PeakKiB;
    if (!fields || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        result.Error = "the child load of " + path + " failed";
        return result;
    }
    result.Ok = loaded == 1;
    if (!result.Ok)
        result.Error = path + " was not loaded";
    return result;
}

// Load File in a process of its own; reports that process's peak resident memory, and the load's time
// as a multiple of the time to count the file's lines.
void LoadAndFilterOwnProcess(benchmark::State& state, ReportType type, long long trades)
{
    const ReportFile& file = ReportFiles::Instance().Get(type, trades);
    long peakKiB = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        const ChildLoad load = LoadInChildProcess(file.Path);
        if (!load.Ok || load.Rows != file.Report.TradeRows) {
            state.SkipWithError(load.Ok ? Mismatch(file, true, load.Rows).c_str() : load.Error.c_str());
            break;
        }
        state.SetIterationTime(load.Seconds);
        seconds += load.Seconds;
        peakKiB = std::max(peakKiB, load.PeakKiB);
    }
    SetCounters(state, file);
    state.counters["peak_rss_MB"] = static_cast<double>(peakKiB) / 1024.0;
    SetLineCountRatio(state, file, seconds);
}

// A click in the symbol list of a loaded statement: one symbol off, then all on again, in turns.
void PairsListClick(benchmark::State& state, long long trades)
{
    const ReportFile& file = ReportFiles::Instance().Get(ReportType::Statement, trades);
    auto session = std::make_unique<Session>();
    if (LoadAndFilter(*session, file.Path, LoadMode::Replace) != LoadOutcome::Loaded) {
        state.SkipWithError(Mismatch(file, false, TradeRows(*session)).c_str());
        return;
    }
    bool allSelected = true;
    for (auto _ : state) {
        allSelected = !allSelected;
        session->Pairs.SetSelected(0, allSelected);
        PairsListChanged(*session, MagicFilterFor(*session));
    }
    SetCounters(state, file, false);
}

// The filter pass alone (a click in the magic list) on a loaded statement.
void FilterPass(benchmark::State& state, long long trades)
{
    const ReportFile& file = ReportFiles::Instance().Get(ReportType::Statement, trades);
    auto session = std::make_unique<Session>();
    if (LoadAndFilter(*session, file.Path, LoadMode::Replace) != LoadOutcome::Loaded) {
        state.SkipWithError(Mismatch(file, false, TradeRows(*session)).c_str());
        return;
    }
    for (auto _ : state)
        MagicListChanged(*session, MagicFilterFor(*session));
    SetCounters(state, file, false);
}

std::string Name(std::string_view what, ReportType type, long long trades)
{
    return std::string(what) + "/" + std::string(TypeName(type)) + "/" + std::to_string(trades);
}

// A case timed by hand (the load alone, not the session around it) in this process.
void RegisterInProcess(std::string_view what, ReportType type, long long trades,
                       void (*run)(benchmark::State&, ReportType, long long))
{
    benchmark::RegisterBenchmark(Name(what, type, trades).c_str(), run, type, trades)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

// Load File in a fresh process: a fresh heap, so that 100k and a million compare on equal terms. A million
// trades are loaded once.
void RegisterOwnProcess(ReportType type, long long trades)
{
    benchmark::internal::Benchmark* own = benchmark::RegisterBenchmark(
        (Name("LoadAndFilter", type, trades) + "/own_process").c_str(), LoadAndFilterOwnProcess, type, trades);
    own->UseManualTime()->Unit(benchmark::kMillisecond);
    if (trades >= 1000000)
        own->Iterations(1);
}

void RegisterAll()
{
    for (const ReportType type : {ReportType::Statement, ReportType::Tester}) {
        std::vector<long long> sizes = {10000, 100000};
        if (type == ReportType::Statement)
            sizes.push_back(200000);
        for (const long long trades : sizes)
            RegisterInProcess("LoadAndFilter", type, trades, LoadAndFilterInProcess);
        for (const long long trades : {100000LL, 1000000LL})
            RegisterOwnProcess(type, trades);
    }
    // Files shaped like real terminal output, at the sizes checked from outside; left out without their sources.
    for (const ReportType type : {ReportType::PerfStatement, ReportType::PerfTester}) {
        const std::string source = PerfShapeSource(type);
        if (!std::filesystem::is_regular_file(source)) {
            std::fprintf(stderr, "load-benchmark: %s is absent: the %s cases are left out\n", source.c_str(),
                         std::string(TypeName(type)).c_str());
            continue;
        }
        RegisterInProcess("LoadAndFilter", type, 100000, LoadAndFilterInProcess);
        for (const long long trades : {100000LL, 1000000LL})
            RegisterOwnProcess(type, trades);
    }
    // The newer terminal's reports: an account history of 100k closing deals is about 400 MB of UTF-16,
    // so the million is left out; 200k shows how the time grows, in a fresh process its peak memory.
    for (const long long trades : {10000LL, 100000LL, 200000LL})
        RegisterInProcess("LoadAndFilter", ReportType::Mt5History, trades, LoadAndFilterInProcess);
    for (const long long trades : {100000LL, 200000LL})
        RegisterOwnProcess(ReportType::Mt5History, trades);
    RegisterInProcess("LoadAndFilter", ReportType::Mt5Tester, 100000, LoadAndFilterInProcess);
    RegisterInProcess("LoadOnly", ReportType::Mt5History, 100000, LoadOnly);
    RegisterInProcess("LoadOnly", ReportType::Statement, 100000, LoadOnly);
    benchmark::RegisterBenchmark(Name("FilterPass", ReportType::Statement, 100000).c_str(), FilterPass, 100000)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(Name("PairsListChanged", ReportType::Statement, 100000).c_str(), PairsListClick,
                                 100000)
        ->Unit(benchmark::kMillisecond);
}

/**
 * The peak resident memory of this process image, in KiB. getrusage's ru_maxrss is not used alone: Linux
 * carries it over an exec from the process that started us (the spawning parent shares its memory until
 * the exec), so a child of a benchmark that has already loaded 200k trades would report the parent's
 * peak. VmHWM of /proc/self/status starts afresh at the exec; ru_maxrss is the fallback without /proc.
 */
long PeakResidentKiB()
{
    if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        long kib = -1;
        while (kib < 0 && std::fgets(line, sizeof line, status) != nullptr)
            if (std::sscanf(line, "VmHWM: %ld kB", &kib) != 1)
                kib = -1;
        std::fclose(status);
        if (kib >= 0)
            return kib;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The child side of LoadInChildProcess: "seconds loaded rows peak-KiB" on standard output.
int LoadOnce(const std::string& path)
{
    try {
        Session session;
        const Clock::time_point start = Clock::now();
        const LoadOutcome outcome = LoadAndFilter(session, path, LoadMode::Replace);
        const double seconds = Seconds(Clock::now() - start);
        std::printf("%.9f %d %d %ld\n", seconds, outcome == LoadOutcome::Loaded ? 1 : 0, TradeRows(session),
                    PeakResidentKiB());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "load-benchmark: %s: %s\n", path.c_str(), error.what());
        return 1;
    }
}

} // namespace

} // namespace corvane::bench

int main(int argc, char** argv)
{
    if (argc == 3 && argv[1] == corvane::bench::kLoadOnceFlag)
        return corvane::bench::LoadOnce(argv[2]);
    corvane::bench::RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
