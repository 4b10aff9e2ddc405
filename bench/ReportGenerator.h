#pragma once

#include <cstdint>
#include <string>

namespace corvane::bench {

/**
 * Large reports in the terminal's format, for timing the load and the filter pass.
 *
 * The output is deterministic: the same type, trade count and seed give the same bytes. Lines of the
 * report's frame end in CR LF; an account statement's trade rows end in LF alone, as the terminal
 * writes them, while every line of a tester report ends in CR LF.
 */

enum class ReportType
{
    Statement,
    Tester,
    Mt5History, // the newer terminal's account history (Mt5ReportGenerator.h)
    Mt5Tester,  // ... and its tester report
    // Real terminal output of 10,000 trades, grown to any number of trades (PerfShape.h).
    PerfStatement, // an account statement
    PerfTester,    // a strategy-tester report
};

inline constexpr std::uint64_t kDefaultSeed = 0x5eed2024c0ffee01ULL;

// The open positions listed after "Open Trades:" in every generated account statement.
inline constexpr long long kStatementOpenTrades = 5;

struct GeneratedReport
{
    long long TradeRows = 0; // rows the reader turns into trades: closed plus open, or the tester's trades
    long long Bytes = 0;     // size of the file written
};

/**
 * An account statement with `closedTrades` closed trades over five symbols, then kStatementOpenTrades
 * open positions after "Open Trades:" and a "Working Orders:" line followed by the account summary.
 *
 * Most rows carry a title with a magic number and a comment; about one in eight is a manual trade whose
 * title holds only "[tp]" or "[sl]", and about one in six is a bare row (ticket as the first plain
 * cell). A deposit row with title="Deposit" comes first. Wins and losses are mixed so that the balance
 * has drawdowns; commissions and swaps are set, and money of a thousand and more is written with a
 * blank between thousands. Cancelled stop orders are sprinkled among the closed trades; they are not
 * trades. Throws std::runtime_error when the file cannot be written.
 */
GeneratedReport WriteStatement(const std::string& path, long long closedTrades, std::uint64_t seed = kDefaultSeed);

/**
 * A strategy-tester report on EURUSD with `trades` trades. Each trade is a "buy" or "sell" row followed
 * some rows later by its closing line ("s/l", "t/p" or "close"); up to three positions are open at a
 * time. About one order in ten is a stop order ("buy stop" / "sell stop") that is filled later by a
 * trade row with the same order number; a few stop orders are deleted unfilled, and some positions get
 * "modify" lines. Only the fills and market orders are trades. Throws std::runtime_error when the file
 * cannot be written.
 */
GeneratedReport WriteTesterReport(const std::string& path, long long trades, std::uint64_t seed = kDefaultSeed);

// WriteStatement, WriteTesterReport, WriteMt5History, WriteMt5TesterReport or, for the perf shape,
// WritePerfShape from its source in the perf folder (`seed` unused: the source fixes the rows).
GeneratedReport WriteReport(ReportType type, const std::string& path, long long trades,
                            std::uint64_t seed = kDefaultSeed);

} // namespace corvane::bench
