#pragma once

#include "analysis/MoreStatistics.h"
#include "trades/Session.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

/**
 * What the filter pass reads once from each version of the trade table, so that a click in a list
 * walks numbers instead of cells: every row's symbol and magic number as small ids, its closed trade
 * for the more statistics and its earliest and latest date, and the order in which the terminal runs
 * the closed trades. The facts hold while the table keeps the version they were read from (TextGrid
 * versions are never reused).
 */
struct TableFacts
{
    // Which of a row's Open Time and Close Time is the lower and which the higher of those that start
    // with a digit; the filter pass reads the texts from the row itself.
    enum class Date : std::uint8_t
    {
        None,
        Open,
        Close,
    };

    struct Row
    {
        int Symbol = 0; // index into Symbols
        int Magic = 0;  // index into MagicTexts
        Date Earliest = Date::None;
        Date Latest = Date::None;
    };

    std::uint64_t Version = 0;
    bool Mt5 = false;                    // the order of the closed trades is the MetaTrader 5 one
    std::vector<std::string> Symbols;    // the distinct Item cells, in order of first appearance
    std::vector<std::string> MagicTexts; // the distinct Magic cells without surrounding white space
    std::vector<std::string> MagicNames; // the names the closed trades' MagicIds stand for
    std::vector<Row> Rows;               // row r of the trade table at r (row 0 unused)
    std::vector<ClosedTrade> Trades;     // the closed trades in the order the terminal runs them, without
                                         // their Result and Pips
    std::vector<int> CloseOrder;         // the row of each of them
};

// Tables of this many rows or more are worked on in two parts at once by the filter pass (its facts,
// its numbers and its visible rows), the second part on a thread of its own.
constexpr int kTwoPartsFrom = 20'000;

// Something more read from each row of the trade table while its facts are read anew, in the same walk
// over the rows: on the thread that reads the row, with its cells up to Magic. A large table is walked in
// two parts at once, so Visit runs on two threads at the same time, each with rows of its own: it may write
// only what belongs to its row.
class RowVisitor
{
public:
    virtual void Visit(int row, const std::string_view* cells) = 0;

protected:
    ~RowVisitor() = default;
};

// Whether the facts of the session's trade table as it now stands are at hand.
bool FactsCurrent(const Session& session);

// The facts of the session's trade table as it now stands, read anew when the table has changed, and
// then `visitor`, when given, visits every row of the table in the same walk.
TableFacts& TableFactsOf(Session& session, RowVisitor* visitor = nullptr);

// The closed trades the last filter pass kept, in the order the terminal runs them, with their results:
// what the more statistics were worked out from. None before a pass.
std::vector<ClosedTrade> KeptClosedTrades(const Session& session);

} // namespace corvane
