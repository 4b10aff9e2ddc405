// The options of the trader's clock and of compare, taken from the command line and checked against the
// command.
#include "cli/CliClock.h"
#include "cli/CliOptions.h"

namespace corvane {

namespace {

bool TakesTimes(CliCommand command)
{
    switch (command) {
    case CliCommand::Stats:
    case CliCommand::Chart:
    case CliCommand::Table:
    case CliCommand::Grid:
    case CliCommand::Compare:
        return true;
    case CliCommand::Summary:
    case CliCommand::ExportTxt:
    case CliCommand::ExportHtml:
    case CliCommand::MonteCarlo:
        return false;
    }
    return false;
}

void CheckCompareOptions(const Options& options)
{
    const CompareOptions& compare = options.Compare;
    const bool compareGiven = compare.ByMagic || !compare.Weights.empty() || !compare.Rates.empty() || compare.Percent
                              || !compare.Html.empty();
    if (options.Command != CliCommand::Compare) {
        if (compareGiven)
            throw UsageError("--by-magic, --weights, --rates, --percent and --html belong to compare");
        return;
    }
    if (!options.Actions.empty())
        throw UsageError("compare takes its reports as they are: no --append, --import, --symbols, --magics, "
                         "--delete, --normalize or --sort");
    if (options.Json && !options.Output.empty() && options.Output == "-")
        throw UsageError("compare writes its picture to a file: -o FILE.png");
}

} // namespace

bool TakeStrategyOption(const std::vector<std::string>& args, std::size_t& i, Options& options)
{
    const std::string& arg = args[i];
    const auto value = [&]() -> const std::string& {
        if (i + 1 >= args.size())
            throw UsageError(arg + " needs a value");
        return args[++i];
    };
    if (arg == "--time-zone")
        options.Clock.TimeZone = value();
    else if (arg == "--server-zone")
        options.Clock.ServerZones = SplitList(value());
    else if (arg == "--shift-hours")
        options.Clock.ShiftHours = SplitList(value());
    else if (arg == "--shifted-times")
        options.Clock.ShiftedTimes = true;
    else if (arg == "--by-magic")
        options.Compare.ByMagic = true;
    else if (arg == "--weights")
        options.Compare.Weights = SplitList(value());
    else if (arg == "--rates")
        options.Compare.Rates = SplitList(value());
    else if (arg == "--percent")
        options.Compare.Percent = true;
    else if (arg == "--html")
        options.Compare.Html = value();
    else
        return false;
    return true;
}

void CheckStrategyOptions(const Options& options)
{
    CheckCompareOptions(options);
    const ClockOptions& clock = options.Clock;
    if (clock.ShiftedTimes && options.Command != CliCommand::Table && options.Command != CliCommand::Grid)
        throw UsageError("--shifted-times belongs to table and grid");
    if (!clock.Given()) {
        if (clock.ShiftedTimes)
            throw UsageError("--shifted-times needs --time-zone or --shift-hours");
        return;
    }
    if (!TakesTimes(options.Command))
        throw UsageError("--time-zone, --server-zone and --shift-hours belong to stats, chart, table, grid and "
                         "compare");
    const std::size_t reports = options.Command == CliCommand::Compare ? 1 + options.Compare.Reports.size() : 1;
    CheckClockOptions(clock, reports);
}

} // namespace corvane
