#pragma once

#include "analysis/MoreStatistics.h"
#include "text/ClockShift.h"
#include "trades/Session.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvane {

/**
 * A strategy: a loaded report, or the trades of one magic number of it (an account statement with several
 * expert advisors holds several strategies). It keeps what comparing, combining and correlating need, so
 * that the report's session can go: its closed trades in the terminal's order with their results, its
 * figures as the more statistics define them, the account currency its report names and the clock its
 * times are read on.
 */
struct Strategy
{
    std::string Name;                 // the report's file name, and " #MAGIC" for one magic number of it
    std::string Source;               // the report's path
    std::optional<std::string> Magic; // the magic number ("0" for none) when the strategy is one of the report's
    std::string Currency;             // the account currency the report names; "" when it names none
    Terminal Writer = Terminal::None;
    ReportKind Kind = ReportKind::Statement;
    int MoneyDigits = 2;
    // The account's balance before the strategy's first trade, what it started from: the report's opening
    // balance moved by the balance rows and the report's other trades up to that trade's close (for a whole
    // report, its deposit), else the initial deposit when that is not above 0; the base of its curve in %.
    // None when neither is above 0.
    std::optional<double> Deposit;
    ClockShift Clock;                // how its times are read on the trader's clock
    std::vector<ClosedTrade> Trades; // its closed trades in the terminal's order, with their results
    MoreFigures Figures;             // the more statistics of those trades, on its clock
};

/**
 * What strategies are made from: a loaded report's closed trades as its last filter pass left them, all of
 * them in the terminal's order with their results and whether the pass kept each, with the report's state,
 * so that the strategies can be taken again on another clock once the report's session is gone.
 */
struct StrategySource
{
    std::string Path;     // the report's path; "" for none
    std::string Currency; // the account currency the report names; "" when it names none
    ReportState Report;
    std::vector<ClosedTrade> Trades;
    std::vector<char> Kept; // by place in Trades
    std::vector<std::string> Symbols;
    std::vector<std::string> Magics; // the names the trades' MagicIds stand for
};

// The source of a session after its filter pass; `path` names the report it was loaded from ("" for none:
// no currency is then read). A session before its pass gives a source without trades.
StrategySource SourceOfSession(const Session& session, const std::string& path);

// A file the terminal did not write: the message is its name and the refusal line.
class RefusedReport : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/**
 * Loads the report at `path` (UTF-8) as Load File does and takes its source. Throws RefusedReport for a
 * file the terminal did not write, and what the load throws.
 */
StrategySource LoadStrategySource(const std::string& path);

/**
 * The strategies of a source: one of all the trades the filter pass kept, or with `byMagic` one for each
 * magic number among them, in order of first close. The figures of a magic number's strategy are those of
 * its trades within the account: the report's other trades still move the balance it earns on.
 */
std::vector<Strategy> StrategiesOf(const StrategySource& source, bool byMagic, const ClockShift& clock);

// The number of closed trades with a result of 0 or more (a win, as the more statistics count it), in %.
double WonPct(const Strategy& strategy);

} // namespace corvane
