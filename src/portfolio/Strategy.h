#pragma once

#include "analysis/MoreStatistics.h"
#include "text/ClockShift.h"
#include "trades/Session.h"

#include <optional>
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
    // What was in the account before the strategy's first trade: the report's opening balance and the
    // deposits and withdrawals up to that trade's close, or the initial deposit when that is not above 0;
    // the base of its curve in %. None when neither is above 0.
    std::optional<double> Deposit;
    ClockShift Clock;                // how its times are read on the trader's clock
    std::vector<ClosedTrade> Trades; // its closed trades in the terminal's order, with their results
    MoreFigures Figures;             // the more statistics of those trades, on its clock
};

/**
 * The strategies of a session after its filter pass, from the closed trades the pass kept: one strategy of
 * them all, or with `byMagic` one for each magic number among them, in order of first close. The figures
 * of a magic number's strategy are those of its trades within the account: the report's other trades
 * still move the balance it earns on. `path` names the report the session was loaded from ("" for none:
 * no currency is then read).
 */
std::vector<Strategy> StrategiesOfSession(const Session& session, const std::string& path, bool byMagic,
                                          const ClockShift& clock);

/**
 * Loads the report at `path` (UTF-8) as Load File does and takes its strategies. Throws std::runtime_error
 * for a file the terminal did not write (the refusal line), and what the load throws.
 */
std::vector<Strategy> LoadStrategies(const std::string& path, bool byMagic, const ClockShift& clock);

// The number of closed trades with a result of 0 or more (a win, as the more statistics count it), in %.
double WonPct(const Strategy& strategy);

} // namespace corvane
