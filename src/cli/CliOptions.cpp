#include "cli/CliOptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

namespace corvane {

namespace {

constexpr std::string_view kUsage = R"(Usage: corvane4-cli COMMAND [REPORT] [options]
       corvane4-cli compare REPORT... [--by-magic] [--weights W,...] [--rates CUR=RATE,...]
                    [--percent] [time options] [--json] [-o CURVES.png] [--html PAGE.html]

Reads a MetaTrader 4 account statement or strategy-tester report, or a MetaTrader 5 account
history or strategy-tester report (HTML), as the Corvane4 window does, runs the options in the
order given, as the window's commands, and then does what COMMAND asks for. REPORT may be left
out when --import gives the trades.

Commands:
  summary      the summary text: the heading, an empty line and the figures, one line each
  stats        the text the window shows: the summary, an empty line, the check of the trades
               against the report's own printed summary, and the more statistics of the trades
               the filters keep; with --json, those figures as one JSON object
  table        the trade table: every trade row, its 20 cells joined by tabs; with --csv, as
               CSV (RFC 4180) in UTF-8 with CR LF line ends: a header row of the column names,
               then the 17 columns Ticket to Balance, Magic and Comment of every trade, the cells
               without their padding blanks
  grid         the visible table after the filters: every row, its 15 cells joined by tabs,
               the drawdown marker " *" included in the Balance cell
  chart        the 809 x 217 chart picture as the window shows it in the wide layout, written as
               PNG to the file given with -o; --view chooses the chart
  export-txt   "Export txt": the visible table as the tab-separated text file, CR LF line ends,
               written to the file given with -o (- for standard output)
  export-html  "Export html": the HTML report of the visible table, written to the file given
               with -o (- for standard output, with --no-picture); its JPEG picture of the
               equity curve is written next to REPORT under REPORT's name up to ".htm" and
               ".jpg" (without a report, under the page's name)
  compare      several strategies side by side: each REPORT (MetaTrader 4 and 5, statements
               and tester reports), or with --by-magic each magic number of each, one strategy;
               their figures one column each, their daily results combined with the weights,
               the combined drawdown beside the sum of the single ones, and the correlation
               matrix of their daily results; with --json as one JSON object; with -o, the
               picture of their curves, the combined curve and the matrix as PNG

Options, run in the order given:
  --append REPORT   load another account statement after the first, as a Shift-press on
                    "Load File" would (appends when at least two trades are loaded; a tester
                    report, or a report of another kind, is ignored)
  --import FILE     "Import": the trades of a text file written by export-txt replace the
                    trade table (initial deposit 10000.00, the file's path as the title)
  --symbols S,...   select exactly these entries of the symbol list (letter case ignored),
                    then run the symbol list's click handler
  --magics M,...    select exactly these entries of the magic-number list (numbers without
                    padding, 0 for trades without one), then run its click handler
  --delete T,...    "Delete trade": select the first row of the visible table with each of
                    these tickets and delete the selection. Tickets in adjacent rows form one
                    selection; separate groups are deleted one after the other, from the top
                    of the table down. The last trade is never deleted.
  --normalize       "Normalize": every trade rescaled to one lot, deposit 10000.00
  --normalize-x10   Normalize with Shift held: ten times the amounts, deposit 100000.00 (the
                    plain variant when fewer than two trades are loaded)
  --sort            "Sort trades": the visible table in ascending order of ticket text, until
                    the next option that filters again
Other options:
  --view V          chart: curve (the equity curve), calendar (the equity curve by close
                    time on a calendar axis), time-open or time-close (pips by hour of the
                    week, by open or close times); curve by default
  --no-picture      export-html: no picture, as with Shift held on "Export html"
  --json            stats, compare: print the figures as JSON (money to the cent, null for no
                    value)
  --csv             table: print the trade table as CSV
  -o FILE           chart, export-txt, export-html, compare: the file to write
  --help            print this text
Compare:
  --by-magic        each magic number of a report is a strategy of its own
  --weights W,...   a weight for each strategy, as a lot multiplier (1 each by default)
  --rates C=R,...   the worth of one unit of currency C in the currency the strategies are
                    combined in ("unknown" for reports that name none); without rates,
                    strategies of different currencies are combined per currency
  --percent         the picture's curves in % of each strategy's starting balance, not from 0
  --html PAGE       also write the comparison as an HTML page, with the picture of -o in it
Time options (stats, chart, table, grid, compare): reports carry the trade server's time
  --time-zone ZONE  read the times on the trader's clock of ZONE: an IANA name (EET,
                    Europe/London, America/New_York, Asia/Tokyo...) or a POSIX TZ string
  --server-zone Z,...  the trade server's zone (EET by default), one for every report or
                    one for each report of compare
  --shift-hours H,...  instead of zones: move every time by H hours (one for every report,
                    or one for each)
  --shifted-times   table, grid: show the times shifted (they keep the report's otherwise)
  With a time option, stats reads its months, days and holding times on the trader's clock,
  chart places its trades there, and compare its days.

The heading names the absolute path of the last report loaded.

Exit status: 0 on success; 1 on an error (bad usage, an unreadable file, a cell that is not a
number, a file that cannot be written, nothing loaded to export), with the message on standard
error; 2 when the report is refused, with the line
")";

struct NamedCommand
{
    std::string_view Name;
    CliCommand Command;
};
constexpr NamedCommand kCommands[] = {
    {"summary", CliCommand::Summary},
    {"stats", CliCommand::Stats},
    {"table", CliCommand::Table},
    {"grid", CliCommand::Grid},
    {"chart", CliCommand::Chart},
    {"export-txt", CliCommand::ExportTxt},
    {"export-html", CliCommand::ExportHtml},
    {"montecarlo", CliCommand::MonteCarlo},
    {"compare", CliCommand::Compare},
};

struct NamedView
{
    std::string_view Name;
    ViewMode View;
};
constexpr NamedView kViews[] = {{"curve", ViewMode::EquityCurve},
                                {"time-open", ViewMode::TimeByOpen},
                                {"time-close", ViewMode::TimeByClose},
                                {"calendar", ViewMode::EquityByCloseTime}};

double ParseDouble(const std::string& arg, const std::string& text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || !std::isfinite(value))
        throw UsageError(arg + " takes a number, not '" + text + "'");
    return value;
}

template <typename Whole> Whole ParseWhole(const std::string& arg, const std::string& text)
{
    Whole value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        throw UsageError(arg + " takes a whole number, not '" + text + "'");
    return value;
}

void ParseMethod(const std::string& text, MonteCarloSettings& settings)
{
    const std::size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    const bool parameter = colon != std::string::npos;
    const std::string value = parameter ? text.substr(colon + 1) : std::string();
    if (name == "permute" && !parameter) {
        settings.Method = MonteCarloMethod::Permutation;
    } else if (name == "bootstrap" && !parameter) {
        settings.Method = MonteCarloMethod::Bootstrap;
    } else if (name == "block") {
        settings.Method = MonteCarloMethod::BlockBootstrap;
        settings.BlockLength = parameter ? ParseWhole<long long>("--method block:K", value) : 0;
        if (parameter && settings.BlockLength < 1)
            throw UsageError("--method block:K takes a block length of 1 or more");
    } else if (name == "skip") {
        settings.Method = MonteCarloMethod::Skip;
        settings.SkipProbability = parameter ? ParseDouble("--method skip:P", value) : 0.1;
        if (!(settings.SkipProbability >= 0 && settings.SkipProbability <= 1))
            throw UsageError("--method skip:P takes a probability from 0 to 1");
    } else {
        throw UsageError("--method takes permute, bootstrap, block[:K] or skip[:P]");
    }
}

// Takes `arg` when it is an option of montecarlo (--method, --runs, --seed, --compound, --ruin,
// --confidence, --deposit), its value read through `value`; false for any other argument.
bool ParseMonteCarloOption(const std::string& arg, const std::function<const std::string&()>& value,
                           MonteCarloOptions& options)
{
    MonteCarloSettings& settings = options.Settings;
    if (arg == "--method")
        ParseMethod(value(), settings);
    else if (arg == "--runs")
        settings.Runs = ParseWhole<long long>(arg, value());
    else if (arg == "--seed")
        settings.Seed = ParseWhole<std::uint64_t>(arg, value());
    else if (arg == "--compound")
        settings.Compound = true;
    else if (arg == "--deposit")
        settings.StartBalance = ParseDouble(arg, value());
    else if (arg == "--ruin")
        settings.RuinPct = ParseDouble(arg, value());
    else if (arg == "--confidence")
        settings.ConfidencePct = ParseDouble(arg, value());
    else
        return false;
    if (arg == "--seed")
        options.SeedGiven = true;
    if (options.FirstGiven.empty())
        options.FirstGiven = arg;
    if (settings.Runs < 1 || settings.Runs > kMaxMonteCarloRuns)
        throw UsageError("--runs takes 1 to 1000000");
    if (!(settings.RuinPct > 0 && settings.RuinPct <= 100))
        throw UsageError("--ruin takes a percentage above 0 and at most 100");
    if (!(settings.ConfidencePct >= 0 && settings.ConfidencePct <= 100))
        throw UsageError("--confidence takes a percentage from 0 to 100");
    return true;
}

bool Imports(const Options& options)
{
    for (const Action& action : options.Actions)
        if (action.Kind == ActionKind::Import)
            return true;
    return false;
}

// Turns the command and the view into their kinds and checks that the options fit the command.
void ResolveOptions(Options& options, const std::string& command, const std::string& view)
{
    const auto named = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const NamedCommand& known) { return known.Name == command; });
    if (named == std::end(kCommands))
        throw UsageError(command.empty() ? "no command given" : "unknown command " + command);
    options.Command = named->Command;
    if (options.Report.empty() && !Imports(options))
        throw UsageError("no report given");
    const bool exports = options.Command == CliCommand::ExportTxt || options.Command == CliCommand::ExportHtml;
    CheckStrategyOptions(options);
    if ((options.Command == CliCommand::Chart || exports) && options.Output.empty())
        throw UsageError(command + " needs -o FILE");
    if (options.Command == CliCommand::Chart) {
        const auto shown = std::find_if(std::begin(kViews), std::end(kViews),
                                        [&](const NamedView& known) { return known.Name == view; });
        if (shown == std::end(kViews))
            throw UsageError("--view takes curve, calendar, time-open or time-close");
        options.View = shown->View;
    }
    if (!options.MonteCarlo.FirstGiven.empty() && options.Command != CliCommand::MonteCarlo)
        throw UsageError(options.MonteCarlo.FirstGiven + " belongs to montecarlo");
    if (options.Json && options.Command != CliCommand::Stats && options.Command != CliCommand::MonteCarlo
        && options.Command != CliCommand::Compare)
        throw UsageError("--json belongs to stats, montecarlo and compare");
    if (options.Csv && options.Command != CliCommand::Table)
        throw UsageError("--csv belongs to table");
    if (!options.Picture && options.Command != CliCommand::ExportHtml)
        throw UsageError("--no-picture belongs to export-html");
    if (options.Command == CliCommand::ExportHtml && options.Output == "-" && options.Picture)
        throw UsageError("export-html writes to standard output only with --no-picture");
}

} // namespace

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

std::string_view UsageText()
{
    return kUsage;
}

Options ParseOptions(const std::vector<std::string>& args)
{
    Options options;
    std::string command;
    std::string view = "curve";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw UsageError(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--append")
            options.Actions.push_back({ActionKind::Append, value(), {}});
        else if (arg == "--import")
            options.Actions.push_back({ActionKind::Import, value(), {}});
        else if (arg == "--symbols")
            options.Actions.push_back({ActionKind::Symbols, {}, SplitList(value())});
        else if (arg == "--magics")
            options.Actions.push_back({ActionKind::Magics, {}, SplitList(value())});
        else if (arg == "--delete")
            options.Actions.push_back({ActionKind::Delete, {}, SplitList(value())});
        else if (arg == "--normalize")
            options.Actions.push_back({ActionKind::Normalize, {}, {}});
        else if (arg == "--normalize-x10")
            options.Actions.push_back({ActionKind::NormalizeTimesTen, {}, {}});
        else if (arg == "--sort")
            options.Actions.push_back({ActionKind::Sort, {}, {}});
        else if (arg == "--view")
            view = value();
        else if (arg == "--no-picture")
            options.Picture = false;
        else if (arg == "--json")
            options.Json = true;
        else if (arg == "--csv")
            options.Csv = true;
        else if (arg == "-o")
            options.Output = value();
        else if (ParseMonteCarloOption(arg, value, options.MonteCarlo) || TakeStrategyOption(args, i, options))
            continue;
        else if (arg.size() > 1 && arg[0] == '-')
            throw UsageError("unknown option " + arg);
        else if (command.empty())
            command = arg;
        else if (options.Report.empty())
            options.Report = arg;
        else if (command == "compare")
            options.Compare.Reports.push_back(arg);
        else
            throw UsageError("unexpected argument " + arg);
    }
    ResolveOptions(options, command, view);
    return options;
}

} // namespace corvane
