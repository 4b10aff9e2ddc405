#pragma once

#include "analysis/Statistics.h"
#include "analysis/TableFacts.h"
#include "trades/Session.h"
#include "trades/TradeValues.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

/**
 * Writes the rows the filter pass shows as rows 1 on of the visible table and the alternate view: columns
 * 0 to 12 the trade table's, as it holds them, and the Pips and Balance worked out for them; and gathers as
 * it goes what the views need of them: the longest text of each column and the dates the Return counts its
 * days between.
 */
class VisibleTableWriter
{
public:
    // For `rows` rows to show, of the trade table whose facts these are.
    VisibleTableWriter(Session& session, const TableFacts& facts, std::size_t rows);

    /**
     * Writes the rows of the trade table `shown`, in order: a large table's rows, when both tables are
     * fresh, in two parts at once (the second on a thread of its own). `numbers` and `balances` are those
     * of the first rows, as far as they could be worked out; the rows after them keep the trade table's
     * Pips and Balance cells.
     */
    void Write(const std::vector<int>& shown, const std::vector<TradeValues>& numbers,
               const std::vector<double>& balances);

    // The days the rows written span, as ReportDays counts them.
    int Days() const;

    /**
     * Leaves with the session what the views need of the tables, once the summary has marked the
     * drawdown stretch: the numbers of the rows, their marks and the longest text of each column.
     */
    void LeaveFacts(std::vector<TradeValues> values, const Statistics& statistics);

private:
    // The lengths of the Balance cells as written, without the drawdown marker; a cell of this length or
    // longer is measured in the table.
    static constexpr std::size_t kLongestBalanceLength = 0xffff;

    // What writing rows gathers, for a part of them or for all.
    struct Written
    {
        std::string GridLongest[kGridColumns]; // the first of the longest texts of each column
        std::string XGridLongest[kXGridColumns];
        std::vector<std::uint16_t> BalanceLengths;
        // The dates the Return counts its days between, as ReportDays finds them.
        std::string_view Earliest = "3000";
        std::string_view Latest = "1000";

        // Takes in what the rows after these gathered.
        void Join(const Written& later);
    };

    void WritePart(const std::vector<int>& shown, std::size_t first, std::size_t end, TextGrid& grid,
                   TextGrid& alternate, Written& written) const;

    Session& m_session;
    const TableFacts& m_facts;
    const std::vector<TradeValues>* m_numbers = nullptr;
    const std::vector<double>* m_balances = nullptr;
    Written m_written;
};

} // namespace corvane
