#pragma once

#include "GridText.h"
#include "trades/Session.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace corvane::test {

/**
 * Sessions for the filter and statistics tests, built cell by cell the way a load leaves them: the
 * trade table holds the rows, both lists hold every symbol and magic key with all entries selected,
 * and the magic list is shown while it holds two entries or more. Cells are written exactly as given,
 * so a test states the cell texts it relies on.
 */

// Right-aligns a text with blanks, as the loader pads its cells ("%6s", "%10s", "%12s").
inline std::string Right(std::string_view text, std::size_t width)
{
    return text.size() >= width ? std::string(text) : std::string(width - text.size(), ' ') + std::string(text);
}

inline std::string Cash(std::string_view text)
{
    return Right(text, 6);
} // a Comm or Swap cell
inline std::string Pl(std::string_view text)
{
    return Right(text, 10);
} // a P/L cell ("%10.2f")
inline std::string MagicCell(std::string_view text)
{
    return Right(text, 12);
} // twelve blanks for none

inline const std::string kBlankCell = "      ";
inline const std::string kNoMagicKey = "           0";

struct TradeRow
{
    std::string Ticket = "1";
    std::string OpenTime = "2024.01.02 10:00";
    std::string Type = "buy";
    std::string Lots = "1.00";
    std::string Item = "eurusd";
    std::string Price = "1.10000";
    std::string StopLoss = "0.00000";
    std::string TakeProfit = "0.00000";
    std::string CloseTime = "2024.01.02 12:00";
    std::string ClosePrice = "1.10100";
    std::string Comm = "  0.00";
    std::string Swap = "  0.00";
    std::string Profit = "    100.00";
    std::string Magic = "            ";
    std::string Comment{};
};

// The magic key under which a Magic cell is listed: the number right-aligned to 8, or eleven blanks and 0.
inline std::string MagicKey(std::string_view cell)
{
    const std::size_t first = cell.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return kNoMagicKey;
    return Right(cell.substr(first, cell.find_last_not_of(' ') - first + 1), 8);
}

inline void WriteTrade(TextGrid& full, int row, const TradeRow& t)
{
    const std::string* const cells[] = {&t.Ticket, &t.OpenTime, &t.Type,       &t.Lots,      &t.Item,
                                        &t.Price,  &t.StopLoss, &t.TakeProfit, &t.CloseTime, &t.ClosePrice,
                                        &t.Comm,   &t.Swap,     &t.Profit};
    for (int column = 0; column < 13; ++column)
        full.SetCell(column, row, *cells[column]);
    full.SetCell(kMagic, row, t.Magic);
    full.SetCell(kComment, row, t.Comment);
}

inline Session SessionWith(double deposit, std::initializer_list<TradeRow> trades)
{
    Session session;
    session.Report.InitialDeposit = deposit;
    session.Report.Title = "Statement: 42 - Test";
    session.ReportPath = session.TradesFile = "/reports/march.htm";
    session.Full.SetRowCount(static_cast<int>(trades.size()) + 1);
    int row = 1;
    for (const TradeRow& trade : trades) {
        WriteTrade(session.Full, row++, trade);
        session.Pairs.AddIfAbsent(trade.Item);
        session.Magic.AddIfAbsent(MagicKey(trade.Magic));
    }
    session.Pairs.SelectAll();
    session.Magic.SelectAll();
    return session;
}

} // namespace corvane::test
