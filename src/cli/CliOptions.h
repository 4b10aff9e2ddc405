#pragma once

#include "analysis/MonteCarlo.h"
#include "charts/ViewMode.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// What the tool prints or writes once the options have run.
enum class CliCommand
{
    Summary,
    Stats,
    Table,
    Grid,
    Chart,
    ExportTxt,
    ExportHtml,
    MonteCarlo,
    Compare,
};

// The options that change the session, in the order they are run.
enum class ActionKind
{
    Append,
    Import,
    Symbols,
    Magics,
    Delete,
    Normalize,
    NormalizeTimesTen,
    Sort,
};

struct Action
{
    ActionKind Kind;
    std::string Path;               // Append, Import
    std::vector<std::string> Items; // Symbols, Magics, Delete
};

// The options of the montecarlo command, as typed values.
struct MonteCarloOptions
{
    MonteCarloSettings Settings;
    bool SeedGiven = false;
    std::string FirstGiven; // the first of these options on the command line, "" when none was given
};

/**
 * The options of the trader's clock, as given: the trader's zone with the server's (by default EET, the
 * rule most trade servers keep), or a fixed shift in hours. Each of --server-zone and --shift-hours takes
 * one value for every report, or one value a report in their order (compare).
 */
struct ClockOptions
{
    std::string TimeZone;                 // --time-zone: the trader's zone
    std::vector<std::string> ServerZones; // --server-zone
    std::vector<std::string> ShiftHours;  // --shift-hours
    bool ShiftedTimes = false;            // --shifted-times: table and grid show the times shifted

    bool Given() const { return !TimeZone.empty() || !ServerZones.empty() || !ShiftHours.empty(); }
};

// The server's zone when only the trader's is given.
inline constexpr const char* kDefaultServerZone = "EET";

// compare: the strategies and how they are combined, as given.
struct CompareOptions
{
    std::vector<std::string> Reports; // the reports after the first
    bool ByMagic = false;             // --by-magic: each magic number of a report a strategy
    std::vector<std::string> Weights; // --weights W,...: one a strategy
    std::vector<std::string> Rates;   // --rates CUR=RATE,...
    bool Percent = false;             // --percent: the curves in % of each deposit
    std::string Html;                 // --html PAGE: the comparison as an HTML page
};

// The command line, parsed: the command, the first report and the options in their order.
struct Options
{
    CliCommand Command = CliCommand::Summary;
    std::string Report;
    std::vector<Action> Actions;
    ViewMode View = ViewMode::EquityCurve; // chart: curve, time-open or time-close
    std::string Output;
    bool Picture = true;
    bool Json = false; // stats, montecarlo: the figures as one JSON object
    bool Csv = false;  // table: the trade table as CSV
    MonteCarloOptions MonteCarlo;
    ClockOptions Clock;
    CompareOptions Compare;
};

// Bad usage: the message is followed by a pointer to --help.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The help text, up to the refusal line that it quotes.
std::string_view UsageText();

// The items of a comma-separated list, empty ones kept.
std::vector<std::string> SplitList(const std::string& text);

// Parses the arguments (without the program name); throws UsageError.
Options ParseOptions(const std::vector<std::string>& args);

// The options of the trader's clock and of compare (CliStrategyOptions.cpp): takes args[i], and its value
// (i moves on to it), when it is one of them; false when it is not.
bool TakeStrategyOption(const std::vector<std::string>& args, std::size_t& i, Options& options);
// Checks that those options fit the command; throws UsageError.
void CheckStrategyOptions(const Options& options);

} // namespace corvane
