#include "cli/Cli.h"

#include "analysis/Commands.h"
#include "analysis/Filters.h"
#include "cli/CliClock.h"
#include "cli/CliCompare.h"
#include "cli/CliMonteCarlo.h"
#include "cli/CliOptions.h"
#include "cli/CliPictures.h"
#include "cli/StatsJson.h"
#include "edit/DeleteTrades.h"
#include "edit/NormalizeTrades.h"
#include "edit/SortTrades.h"
#include "export/CsvExport.h"
#include "export/HtmlExport.h"
#include "export/TextExport.h"
#include "platform/PlatformFiles.h"
#include "reports/TextImport.h"
#include "text/TextRoutines.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace corvane {

namespace {

// The report was refused: the refusal line goes to standard error and the tool exits with 2.
class Refused : public std::exception
{
};

// Selects exactly the entries whose text, without surrounding blanks, is one of `wanted`.
void SelectExactly(SelectionList& list, const std::vector<std::string>& wanted, const char* what)
{
    std::vector<bool> matched(wanted.size(), false);
    for (int i = 0; i < list.Count(); ++i) {
        const std::string_view text = Trimmed(list.Text(i));
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

// What the window's timer does at its next tick: show the magic list while it has two entries or more,
// so that the next filter pass uses it.
void TimerTick(const Session& session, MagicFilter& magicFilter)
{
    magicFilter = MagicFilterFor(session);
}

// What a load could not read goes to standard error; the tool goes on with the trades it read.
void Load(Session& session, const std::string& report, bool append, std::ostream& err)
{
    // Shift held on "Load File" appends only to two trades or more.
    const LoadMode mode = SwitchApplies(session, append) ? LoadMode::Append : LoadMode::Replace;
    session.Report.ReadWarning.clear();
    if (LoadAndFilter(session, ReadablePath(report), mode) == LoadOutcome::Refused)
        throw Refused();
    if (!session.Report.ReadWarning.empty())
        err << "corvane4-cli: " << report << ": " << session.Report.ReadWarning << '\n';
}

// The first row of the visible table holding each ticket.
std::unordered_map<std::string_view, int> FirstRowsByTicket(const TextGrid& grid)
{
    std::unordered_map<std::string_view, int> rows;
    for (int row = grid.RowCount() - 1; row >= 1; --row)
        rows[grid.Cell(kTicket, row)] = row;
    return rows;
}

/**
 * Delete trade for a list of tickets: the first visible row of each ticket is selected. The window
 * deletes one contiguous selection at a time, so the rows are taken in runs of adjacent rows, from the
 * top down, each run found again in the table the previous deletion left.
 */
void DeleteTickets(Session& session, std::vector<std::string> tickets, MagicFilter magicFilter)
{
    std::sort(tickets.begin(), tickets.end());
    tickets.erase(std::unique(tickets.begin(), tickets.end()), tickets.end());
    const auto rows = FirstRowsByTicket(session.Grid);
    for (const std::string& ticket : tickets)
        if (!rows.count(ticket))
            throw std::runtime_error("no trade with ticket '" + ticket + "' in the visible table");

    while (!tickets.empty()) {
        const auto current = FirstRowsByTicket(session.Grid);
        std::vector<std::pair<int, std::string>> selected;
        for (const std::string& ticket : tickets)
            if (const auto found = current.find(ticket); found != current.end())
                selected.emplace_back(found->second, ticket);
        if (selected.empty())
            return;
        std::sort(selected.begin(), selected.end());
        std::size_t run = 1;
        while (run < selected.size() && selected[run].first == selected[run - 1].first + 1)
            ++run;
        for (std::size_t i = 0; i < run; ++i)
            tickets.erase(std::find(tickets.begin(), tickets.end(), selected[i].second));
        DeleteTrades(session, selected.front().first, selected[run - 1].first, magicFilter);
    }
}

void RunAction(Session& session, MagicFilter& magicFilter, const Action& action, std::ostream& err)
{
    switch (action.Kind) {
    case ActionKind::Append:
        Load(session, action.Path, true, err);
        break;
    case ActionKind::Import:
        ImportText(session, ReadablePath(action.Path));
        ApplyFilters(session, MagicFilter::Off); // the import hides the magic list
        break;
    case ActionKind::Symbols:
        SelectExactly(session.Pairs, action.Items, "symbol");
        PairsListChanged(session, magicFilter);
        break;
    case ActionKind::Magics:
        SelectExactly(session.Magic, action.Items, "magic number");
        MagicListChanged(session, magicFilter);
        break;
    case ActionKind::Delete:
        DeleteTickets(session, action.Items, magicFilter);
        break;
    case ActionKind::Normalize:
    case ActionKind::NormalizeTimesTen:
        // --normalize-x10 is Shift held on "Normalize".
        NormalizeTrades(session, SwitchApplies(session, action.Kind == ActionKind::NormalizeTimesTen), magicFilter);
        break;
    case ActionKind::Sort:
        SortGridByTicket(session.Grid);
        break;
    }
    TimerTick(session, magicFilter);
}

// Export txt or Export html to -o FILE, or to standard output for "-".
void Export(const Session& session, const Options& options, std::ostream& out)
{
    if (NothingLoaded(session))
        throw std::runtime_error("nothing to export: no trade is loaded");
    const bool html = options.Command == CliCommand::ExportHtml;
    if (options.Output == "-") {
        if (html)
            WriteHtmlReport(out, session, nullptr);
        else
            WriteTextExport(out, session);
        return;
    }
    const std::string path = Utf8Path(std::filesystem::absolute(NativePath(options.Output)).lexically_normal());
    if (!html) {
        ExportText(session, path);
        return;
    }
    if (options.Picture)
        ExportHtmlWithPicture(session, path);
    else
        ExportHtml(session, path, nullptr);
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
    if (options.Command == CliCommand::Compare) {
        try {
            RunCompare(options, out, err);
        } catch (const RefusedReport& refused) {
            err << refused.what() << '\n';
            return kExitRefused;
        }
        return kExitOk;
    }
    const ClockShift clock = ClockFor(options.Clock, 0);
    Session session;
    MagicFilter magicFilter = MagicFilter::Off;
    if (!options.Report.empty()) {
        Load(session, options.Report, false, err);
        TimerTick(session, magicFilter);
    }
    for (const Action& action : options.Actions)
        RunAction(session, magicFilter, action, err);
    ApplyClock(session, options.Clock, clock);

    switch (options.Command) {
    case CliCommand::Summary:
        for (const std::string& line : session.Memo)
            out << line << '\n';
        break;
    case CliCommand::Stats:
        if (options.Json) {
            out << StatsJson(session) << '\n';
            break;
        }
        for (const std::string& line : session.Memo)
            out << line << '\n';
        for (const std::string& line : session.MoreMemo)
            out << line << '\n';
        break;
    case CliCommand::Chart:
        WriteChartPicture(session, options.View, options.Output, clock.Shifts() ? &clock : nullptr);
        break;
    case CliCommand::Table:
        if (options.Csv)
            WriteCsvTable(out, session);
        else
            PrintRows(session.Full, kFullColumns, out);
        break;
    case CliCommand::Grid:
        PrintRows(session.Grid, kGridColumns, out);
        break;
    case CliCommand::ExportTxt:
    case CliCommand::ExportHtml:
        Export(session, options, out);
        break;
    case CliCommand::MonteCarlo:
        RunMonteCarloCommand(session, options.MonteCarlo, options.Json, options.Output, out, err);
        break;
    case CliCommand::Compare:
        break;
    }
    return kExitOk;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            if (args.front() == "montecarlo") {
                out << MonteCarloUsageText();
                return kExitOk;
            }
            out << UsageText() << kRefusal << "\"\non standard error.\n";
            return kExitOk;
        }
    }
    try {
        return Run(ParseOptions(args), out, err);
    } catch (const UsageError& e) {
        err << "corvane4-cli: " << e.what() << "\nTry 'corvane4-cli --help'.\n";
    } catch (const Refused&) {
        err << kRefusal << '\n';
        return kExitRefused;
    } catch (const std::exception& e) {
        err << e.what() << '\n';
    }
    return kExitError;
}

} // namespace corvane
