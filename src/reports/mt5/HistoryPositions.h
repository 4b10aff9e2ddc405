#pragma once

#include "reports/mt5/KeyIndex.h"
#include "reports/mt5/PositionBook.h"
#include "trades/TextArena.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace corvane {

// A row of an account history's Positions table.
struct PositionRow
{
    std::string_view Id, Symbol, OpenTime, Price, StopLoss, TakeProfit, Comment, CloseTime;
    bool Buy = true;
    long long Volume = 0;
    long long ClosePrice = kUnknown; // the average of its closing deals' prices, scaled by kVolumeScale
    long long Profit = 0;            // of its closing deals, in cents
};

/**
 * The Positions table of an account history, kept compactly, and what it tells about the deals that the
 * history does not link to positions: which closing deal is a position's last (the one at its close
 * time), and which positions were opened before the history's first deal.
 */
class HistoryPositions
{
public:
    void Add(const PositionRow& row);
    // Builds the indexes; once every row is in and before the questions below.
    void Index();

    // The position with this ticket, or -1.
    int Find(std::string_view id) const;
    std::string_view Ticket(int position) const { return Text(position, Field::Id); }
    // Its facts; with the volume and profit closed before its last close once that is known.
    PositionFacts Facts(int position) const;
    long long Volume(int position) const { return m_rows[static_cast<std::size_t>(position)].Volume; }
    bool Opened(int position) const { return m_rows[static_cast<std::size_t>(position)].Opened; }
    void SetOpened(int position) { m_rows[static_cast<std::size_t>(position)].Opened = true; }

    /**
     * The position, of the given side, whose last close a deal at `time` on `symbol` is: of those closed
     * last at that time, the first whose close price and profit the deal has (closed in one deal), else
     * the first with volume enough. Each position is given once; -1 when none is left.
     */
    int TakeLastClose(std::string_view symbol, bool positionBuy, std::string_view time, long long price,
                      long long profit, long long volume);

    // A position not opened by any deal so far, open at `time` and closed at or after it: one a history of
    // part of the account's life has no opening deal for. -1 when there is none.
    int TakeEarlier(std::string_view symbol, bool positionBuy, std::string_view time);

private:
    struct Row
    {
        ArenaRecord<8> Text; // Id, Symbol, OpenTime, Price, StopLoss, TakeProfit, Comment, CloseTime
        long long Volume = 0;
        long long ClosePrice = kUnknown;
        long long Profit = 0;
        long long PartialVolume = kUnknown;
        long long PartialProfit = kUnknown;
        bool Buy = true;
        bool Opened = false;
        bool LastClose = false;
        bool FirstOfId = true; // no row before it has its ticket
    };
    // A row's texts: the position's, then its close time.
    using Field = PositionText;
    static constexpr int kCloseTime = static_cast<int>(kPositionTexts);

    std::string_view Text(int position, Field field) const { return TextAt(position, static_cast<int>(field)); }
    std::string_view CloseTime(int position) const { return TextAt(position, kCloseTime); }
    std::string_view TextAt(int position, int index) const;

    TextArena m_text;
    std::vector<Row> m_rows;
    // The row after the one Find found last: the deals that open positions mostly come in the table's order.
    mutable std::size_t m_nextFound = 0;
    KeyIndex m_byId;
    KeyIndex m_byClose;                                             // symbol, side and close time
    KeyIndex m_bySide;                                              // symbol and side, in the table's (opening) order
    std::unordered_map<std::uint64_t, std::size_t> m_firstUnopened; // in m_bySide, by symbol and side
};

} // namespace corvane
