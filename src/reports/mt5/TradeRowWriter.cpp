#include "reports/mt5/TradeRowWriter.h"

#include "text/Numbers.h"
#include "text/TextRoutines.h"
#include "trades/Session.h"

#include <array>
#include <span>

namespace corvane {

namespace {

// An S/L or T/P cell: the report's text, or when it sets none a zero with the open price's decimals,
// made in `zero`.
std::string_view StopText(std::string_view stop, std::string_view price, std::string& zero)
{
    if (!stop.empty())
        return stop;
    const std::size_t point = price.find('.');
    zero = point == std::string_view::npos ? "0" : "0." + std::string(price.size() - point - 1, '0');
    return zero;
}

// MoneyText in a buffer of the caller's.
std::string_view MoneyTextTo(std::span<char, kFixedTextRoom> buffer, long long cents, int width)
{
    return FormatFixedTo(buffer, static_cast<double>(cents) / 100.0, width, 2);
}

} // namespace

std::string MoneyText(long long cents, int width)
{
    return FormatFixed(static_cast<double>(cents) / 100.0, width, 2);
}

TradeRowWriter::TradeRowWriter(TextGrid& full, int firstRow, SelectionList& pairs, const TradeLineCallback& onTradeLine)
    : m_full(full)
    , m_row(firstRow)
    , m_pairs(pairs)
    , m_onTradeLine(onTradeLine)
{
}

void TradeRowWriter::Write(const PositionFacts& facts, std::string_view lots, std::string_view closeTime,
                           std::string_view closePrice, const DealMoney& money)
{
    const std::string_view item = facts.Symbol;
    std::string zeroStopLoss, zeroTakeProfit;
    const std::string_view stopLoss = StopText(facts.StopLoss, facts.Price, zeroStopLoss);
    const std::string_view takeProfit = StopText(facts.TakeProfit, facts.Price, zeroTakeProfit);
    char commBuffer[kFixedTextRoom], swapBuffer[kFixedTextRoom], profitBuffer[kFixedTextRoom];
    const std::string_view comm = MoneyTextTo(commBuffer, money.Costs, 6); // "%6s" of the amount
    const std::string_view swap = MoneyTextTo(swapBuffer, money.Swap, 6);
    const std::string_view profit = MoneyTextTo(profitBuffer, money.Profit, 10);
    static const std::string kNoMagic(12, ' ');
    std::array<std::string_view, kFullColumns> cells{};
    cells[kTicket] = facts.Id;
    cells[kOpenTime] = facts.OpenTime;
    cells[kType] = facts.Buy ? "buy" : "sell";
    cells[kLots] = lots;
    cells[kItem] = item;
    cells[kOpenPrice] = facts.Price;
    cells[kStopLoss] = stopLoss;
    cells[kTakeProfit] = takeProfit;
    cells[kCloseTime] = closeTime;
    cells[kClosePrice] = closePrice;
    cells[kComm] = comm;
    cells[kSwap] = swap;
    cells[kProfit] = profit;
    cells[kMagic] = kNoMagic;
    cells[kComment] = facts.Comment;
    m_full.SetRow(m_row, cells);
    m_full.SetRowCount(m_full.RowCount() + 1);
    ++m_row;
    m_pairs.AddIfAbsent(item);
    if (m_onTradeLine)
        m_onTradeLine();
}

} // namespace corvane
