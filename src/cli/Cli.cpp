#include "Cli.h"

#include "ChartPicture.h"
#include "Commands.h"
#include "Filters.h"
#include "TextRoutines.h"

#include <QGuiApplication>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>

namespace corvane {

namespace {

constexpr std::string_view kUsage = R"(Usage: corvane4-cli COMMAND REPORT [options]

Reads a MetaTrader 4 account statement or strategy-tester report (HTML) as the Corvane4
window does, and prints what COMMAND asks for.

Commands:
  summary   the summary text: the heading, an empty line and the figures, one line each
  table     the trade table: every trade row, its 20 cells joined by tabs
  grid      the visible table after the filters: every row, its 15 cells joined by tabs,
            the drawdown marker " *" included in the Balance cell
  chart     the 809 x 217 chart picture as the window shows it in the wide layout, written as
            PNG to the file given with -o; --view chooses the chart

Options:
  --append REPORT   load another account statement after the first, as a Shift-press on
                    "Load File" would (appends when at least two trades are loaded; a tester
                    report, or a report of another kind, is ignored). May be repeated.
  --symbols S,...   select exactly these entries of the symbol list (letter case ignored),
                    then run the symbol list's click handler
  --magics M,...    select exactly these entries of the magic-number list (numbers without
                    padding, 0 for trades without one), then run its click handler
  --view V          chart: curve (the equity curve), time-open or time-close (pips by hour of
                    the week, by open or close times); curve by default
  -o FILE           chart: the picture file to write
  --help            print this text

The heading names the absolute path of the last report loaded.

Exit status: 0 on success; 1 on an error (bad usage, an unreadable file, a cell that is not a
number), with the message on standard error; 2 when the report is refused, with the line
")";

struct Options
{
    std::string Command;
    std::string Report;
    std::vector<std::string> Appends;
    std::optional<std::vector<std::string>> Symbols;
    std::optional<std::vector<std::string>> Magics;
    std::string View = "curve";
    std::string Output;
};

class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos)
            return items;
        start = comma + 1;
    }
}

Options ParseOptions(const std::vector<std::string>& args)
{
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--append")
            options.Appends.push_back(value());
        else if (arg == "--symbols")
            options.Symbols = SplitList(value());
        else if (arg == "--magics")
            options.Magics = SplitList(value());
        else if (arg == "--view")
            options.View = value();
        else if (arg == "-o")
            options.Output = value();
        else if (arg.size() > 1 && arg[0] == '-')
            throw UsageError("unknown option " + arg);
        else if (options.Command.empty())
            options.Command = arg;
        else if (options.Report.empty())
            options.Report = arg;
        else
            throw UsageError("unexpected argument " + arg);
    }
    if (options.Command != "summary" && options.Command != "table" && options.Command != "grid"
        && options.Command != "chart")
        throw UsageError(options.Command.empty() ? "no command given" : "unknown command " + options.Command);
    if (options.Report.empty())
        throw UsageError("no report given");
    if (options.Command == "chart") {
        if (options.Output.empty())
            throw UsageError("chart needs -o FILE");
        if (options.View != "curve" && options.View != "time-open" && options.View != "time-close")
            throw UsageError("--view takes curve, time-open or time-close");
    }
    return options;
}

// The path the window's dialog would hand over: absolute, and a file that can be read.
std::string ReadablePath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error).lexically_normal();
    if (std::filesystem::is_directory(absolute, error))
        throw std::runtime_error("cannot read '" + path + "': it is a directory");
    std::ifstream probe(absolute, std::ios::binary);
    if (!probe)
        throw std::runtime_error("cannot read '" + path + "': no such file, or no permission to read it");
    return absolute.string();
}

// Selects exactly the entries whose text, without surrounding blanks, is one of `wanted`.
void SelectExactly(SelectionList& list, const std::vector<std::string>& wanted, const char* what)
{
    std::vector<bool> matched(wanted.size(), false);
    for (int i = 0; i < list.Count(); ++i) {
        std::string_view text = list.Text(i);
        while (!text.empty() && text.front() == ' ')
            text.remove_prefix(1);
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
        bool selected = false;
        for (std::size_t w = 0; w < wanted.size(); ++w) {
            if (EqualsIgnoringCase(text, wanted[w])) {
                selected = true;
                matched[w] = true;
            }
        }
        list.SetSelected(i, selected);
    }
    for (std::size_t w = 0; w < wanted.size(); ++w)
        if (!matched[w])
            throw std::runtime_error(std::string("no ") + what + " '" + wanted[w] + "' in the list");
}

// What the window's timer does at its next tick: show the magic list while it has two entries or more.
void TimerTick(Session& session)
{
    session.MagicListShown = MagicListWanted(session);
}

// Text on the charts needs the toolkit's fonts, so a drawing command starts it, without a display.
void StartGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "corvane4-cli";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
}

// The picture the window shows in the wide layout: the frame, then the chart of the view.
void WriteChart(const Session& session, const Options& options)
{
    StartGuiApplication();
    const ChartView view = options.View == "curve"       ? ChartView::EquityCurve
                           : options.View == "time-open" ? ChartView::TimeByOpen
                                                         : ChartView::TimeByClose;
    SaveChartPicture(DrawChartPicture(session, view), options.Output);
}

void PrintRows(const TextGrid& grid, int columns, std::ostream& out)
{
    for (int row = 1; row < grid.RowCount(); ++row) {
        for (int column = 0; column < columns; ++column) {
            if (column)
                out << '\t';
            out << grid.Cell(column, row);
        }
        out << '\n';
    }
}

int Run(const Options& options, std::ostream& out, std::ostream& err)
{
    Session session;
    if (LoadAndFilter(session, ReadablePath(options.Report)) == LoadOutcome::Refused) {
        err << kRefusal << '\n';
        return kExitRefused;
    }
    TimerTick(session);
    for (const std::string& report : options.Appends) {
        session.AppendFlag = session.Full.RowCount() > 2; // Shift held on "Load File"
        if (LoadAndFilter(session, ReadablePath(report)) == LoadOutcome::Refused) {
            err << kRefusal << '\n';
            return kExitRefused;
        }
        TimerTick(session);
    }
    if (options.Symbols) {
        SelectExactly(session.Pairs, *options.Symbols, "symbol");
        PairsListChanged(session);
        TimerTick(session);
    }
    if (options.Magics) {
        SelectExactly(session.Magic, *options.Magics, "magic number");
        MagicListChanged(session);
        TimerTick(session);
    }

    if (options.Command == "summary")
        for (const std::string& line : session.Memo)
            out << line << '\n';
    else if (options.Command == "chart")
        WriteChart(session, options);
    else if (options.Command == "table")
        PrintRows(session.Full, kFullColumns, out);
    else
        PrintRows(session.Grid, kGridColumns, out);
    return kExitOk;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kUsage << kRefusal << "\"\non standard error.\n";
            return kExitOk;
        }
    }
    try {
        return Run(ParseOptions(args), out, err);
    } catch (const UsageError& e) {
        err << "corvane4-cli: " << e.what() << "\nTry 'corvane4-cli --help'.\n";
    } catch (const std::exception& e) {
        err << e.what() << '\n';
    }
    return kExitError;
}

} // namespace corvane
