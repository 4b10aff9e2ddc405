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
};

// Bad usage: the message is followed by a pointer to --help.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The help text, up to the refusal line that it quotes.
std::string_view UsageText();

// Parses the arguments (without the program name); throws UsageError.
Options ParseOptions(const std::vector<std::string>& args);

} // namespace corvane
